#pragma once
// Interface language files: the captions and hints of a window's controls
// and menu items, the window's own caption and the rows of the message
// table, found by component name (objectName) in an INI-format file.
//
// Sections. A component is looked up in the section of its owner path: its
// owner window's section, a "." and its name, whatever containers lie
// between ("frmMain.btnTemplate", "frmMain.tsTip", "frmMain.mnuFile"). A
// window belongs to the application, which has no name, so its section is
// its name alone. Qt parents every dialog to the main window, so parents do
// not decide ownership: only a window marked by LangSetOwnedByParent is
// owned by the window it is parented to, and its components go one level
// deeper ("frmMain.dlgTemplate.lblTipColor"). A window's own caption is
// always read from the section of its name alone ("dlgTemplate").
//
// Keys. "Caption" sets the text of whatever carries one: a label, any button,
// a group box's title, a tab page's tab, a menu item, a menu's title. A line
// edit's content is the player's, never a caption: a language switch leaves
// it as it is. "Hint" sets the tool tip (the part before the first "|")
// and the status tip (the part after it; a hint without "|" is both). In a
// window's own section only "Caption" is read. Empty or absent values change
// nothing. A value in a pair of double or single quotes loses them, as
// Windows reads profile files, so that a text may begin or end with spaces.
//
// A menu item is its action: it answers to the action's name ("actFind") and,
// when it has one, to its own menu-item name ("mnuFind"), which wins. A tool
// button that shows an action answers to its own name ("tbFind") when read;
// files are written with the actions' names. Not components of their own:
// unnamed objects, Qt's internal parts ("qt_" names) and separators.
//
// Files are read with TIniFile: as UTF-8 when the whole file is, else as
// Windows-1251; an absent file reads as an empty one.

#include <QList>
#include <QString>

#include <filesystem>

class QAction;
class QLocale;
class QObject;
class QWidget;

namespace qm {

class TIniFile;

// The section a component's texts are read from.
QString LangSectionName(const QObject* component);

// The language file of a first start, when the settings name none: Russian
// for a Russian locale, English otherwise (QMKData\English.qlg).
QString LangFileForLocale(const QLocale& locale);

// Where a tool button that shows an action keeps the hint a language file
// gave it (properties; empty when none).
inline constexpr const char* kLangToolTip = "qmLangToolTip";
inline constexpr const char* kLangStatusTip = "qmLangStatusTip";

// Makes `window` owned by the window it is parented to.
void LangSetOwnedByParent(QWidget* window);
// Gives a menu item its own component name beside its action's.
void LangSetMenuItemName(QAction* item, const char* name);

// The window's menu bars (their menus and items), then its controls and caption.
void LangApplyForm(QWidget* window, const TIniFile& file);
// Every control inside `control`, each container's contents before the
// container itself; then, for a window, its caption.
void LangApplyControls(QWidget* control, const TIniFile& file);
// The items of a menu bar or menu, each sub-menu's items before the sub-menu.
void LangApplyMenu(QWidget* menu, const TIniFile& file);
// Rows 0 to 42 of the message table from "STRINGS", keys "Str0" to "Str42",
// each unescaped; rows without a value keep their text.
void LangApplyStrings(const TIniFile& file);

// "/n" becomes CR LF; "//" becomes "/" with the next character taken as it
// stands; any other "/" stays.
void LangUnescape(QString& text);
// The inverse: LangUnescape gives the text back exactly, except a "/" just
// before a line break, which the format cannot express. Lone CR or LF
// characters cannot be kept on the file's line and become spaces.
QString LangEscape(const QString& text);

// Writes a complete language file for `windows` and the message table: each
// window's caption, every Caption and Hint the apply functions would set (in
// their order, the first of a repeated section only), and all 43 rows,
// escaped. UTF-8 with CR LF line ends. The format cannot express line
// breaks in captions and hints (they become spaces) nor a "|" inside a tool
// tip. False when the file cannot be written.
bool LangWriteFile(const std::filesystem::path& path, const QList<QWidget*>& windows);

} // namespace qm
