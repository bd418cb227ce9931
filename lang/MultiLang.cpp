#include "lang/MultiLang.h"

#include "config/uAtomicFile.h"
#include "config/uIniFile.h"
#include "lang/GlobalConst.h"
#include "platform/PlainText.h"
#include "tooltips/Utf8Text.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTabWidget>
#include <QToolButton>

#include <functional>
#include <string>

namespace qm {
namespace {

const char* const kOwnedByParent = "qmLangOwnedByParent";
const QString kCaption = QStringLiteral("Caption");
const QString kHint = QStringLiteral("Hint");
const QString kStrings = QStringLiteral("STRINGS");

// Windows and dialogs own components; menus and other pop-ups are components.
bool IsForm(const QObject* object) {
    const auto* widget = qobject_cast<const QWidget*>(object);
    if (!widget || !widget->isWindow())
        return false;
    const Qt::WindowType type = widget->windowType();
    return type != Qt::Popup && type != Qt::ToolTip;
}

// The window a component sits in: the nearest form among it and its parents.
const QWidget* FormOf(const QObject* object) {
    for (; object; object = object->parent())
        if (IsForm(object))
            return static_cast<const QWidget*>(object);
    return nullptr;
}

const QWidget* OwnerOf(const QObject* component) {
    if (!IsForm(component) || component->property(kOwnedByParent).toBool())
        return FormOf(component->parent());
    return nullptr;
}

QString SectionIn(const QWidget* form, const QString& name) {
    return form && !form->objectName().isEmpty() ? LangSectionName(form) + '.' + name : name;
}

bool IsNamed(const QObject* object) {
    const QString name = object->objectName();
    return !name.isEmpty() && !name.startsWith(QLatin1String("qt_"));
}

bool ShowsAction(const QWidget* widget) {
    const auto* button = qobject_cast<const QToolButton*>(widget);
    return button && button->defaultAction();
}

using TVisit = std::function<void(const QString& section, QObject* component)>;

void VisitMenu(const QWidget* form, const QWidget* menu, const TVisit& visit) {
    for (QAction* item : menu->actions()) {
        if (item->isSeparator())
            continue;
        if (QMenu* sub = item->menu()) {
            VisitMenu(form, sub, visit);
            if (IsNamed(sub))
                visit(SectionIn(form, sub->objectName()), sub);
        } else if (IsNamed(item)) {
            visit(SectionIn(form, item->objectName()), item);
        }
    }
}

void VisitControls(const QWidget* form, const QWidget* control, const TVisit& visit) {
    for (QObject* child : control->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (!widget || widget->isWindow())
            continue;
        VisitControls(form, widget, visit);
        if (IsNamed(widget) && !ShowsAction(widget))
            visit(SectionIn(form, widget->objectName()), widget);
    }
}

void CollectMenuBars(const QWidget* widget, QList<QMenuBar*>& bars) {
    for (QObject* child : widget->children()) {
        auto* sub = qobject_cast<QWidget*>(child);
        if (!sub || sub->isWindow())
            continue;
        if (auto* bar = qobject_cast<QMenuBar*>(sub))
            bars.append(bar);
        CollectMenuBars(sub, bars);
    }
}

QTabWidget* TabsOf(const QWidget* page) {
    const QWidget* stack = page->parentWidget();
    auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
    return tabs && tabs->indexOf(page) >= 0 ? tabs : nullptr;
}

// Where a component keeps its caption; empty for kinds that have none.
struct TCaptionSlot {
    std::function<QString()> Get;
    std::function<void(const QString&)> Set;
};

TCaptionSlot CaptionSlot(QObject* object) {
    if (auto* a = qobject_cast<QAction*>(object))
        return {[a] { return a->text(); }, [a](const QString& t) { a->setText(t); }};
    if (auto* m = qobject_cast<QMenu*>(object))
        return {[m] { return m->title(); }, [m](const QString& t) { m->setTitle(t); }};
    if (auto* l = qobject_cast<QLabel*>(object))
        return {[l] { return l->text(); },
                [l](const QString& t) {
                    l->setTextFormat(Qt::PlainText); // a shared file is no markup
                    l->setText(t);
                }};
    if (auto* b = qobject_cast<QAbstractButton*>(object))
        return {[b] { return b->text(); }, [b](const QString& t) { b->setText(t); }};
    if (auto* g = qobject_cast<QGroupBox*>(object))
        return {[g] { return g->title(); }, [g](const QString& t) { g->setTitle(t); }};
    if (auto* e = qobject_cast<QLineEdit*>(object))
        return {[e] { return e->text(); }, [e](const QString& t) { e->setText(t); }};
    auto* page = qobject_cast<QWidget*>(object);
    if (QTabWidget* tabs = page ? TabsOf(page) : nullptr)
        return {[tabs, page] { return tabs->tabText(tabs->indexOf(page)); },
                [tabs, page](const QString& t) { tabs->setTabText(tabs->indexOf(page), t); }};
    return {};
}

struct THint {
    QString Tip;
    QString Status;
};

QAction* ActionOf(QObject* object) {
    if (auto* menu = qobject_cast<QMenu*>(object))
        return menu->menuAction();
    return qobject_cast<QAction*>(object);
}

THint HintOf(QObject* object) {
    if (QAction* action = ActionOf(object)) {
        // An action without a tool tip of its own reports its text as one.
        const QAction plain(action->text());
        const QString tip = action->toolTip() == plain.toolTip() ? QString() : action->toolTip();
        return {tip, action->statusTip()};
    }
    const auto* widget = qobject_cast<QWidget*>(object);
    return widget ? THint{widget->toolTip(), widget->statusTip()} : THint{};
}

void SetHint(QObject* object, const QString& hint) {
    const qsizetype bar = hint.indexOf('|');
    const THint parts = bar < 0 ? THint{hint, hint} : THint{hint.left(bar), hint.mid(bar + 1)};
    if (QAction* action = ActionOf(object)) {
        action->setToolTip(PlainToolTip(parts.Tip));
        action->setStatusTip(parts.Status);
    } else if (auto* widget = qobject_cast<QWidget*>(object)) {
        widget->setToolTip(PlainToolTip(parts.Tip));
        widget->setStatusTip(parts.Status);
    }
}

QString HintText(const THint& hint) {
    return hint.Tip == hint.Status ? hint.Tip : hint.Tip + '|' + hint.Status;
}

bool IsQuote(QChar c) {
    return c == '"' || c == '\'';
}

bool IsBlank(QChar c) {
    return c.unicode() <= 32;
}

QString ReadValue(const TIniFile& file, const QString& section, const QString& key) {
    QString value =
        Utf8ToQString(file.ReadString(section.toStdString(), key.toStdString(), std::string()));
    if (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value;
}

void ApplyComponent(const TIniFile& file, const QString& section, QObject* component) {
    const QString caption = ReadValue(file, section, kCaption);
    if (!caption.isEmpty())
        if (const TCaptionSlot slot = CaptionSlot(component); slot.Set)
            slot.Set(caption);
    const QString hint = ReadValue(file, section, kHint);
    if (!hint.isEmpty())
        SetHint(component, hint);
}

// A value as a file line holds it: one line, quoted when the reader would
// otherwise trim or unquote it.
std::string FileValue(QString value) {
    value.replace(QLatin1String("\r\n"), QLatin1String(" "));
    value.replace('\r', ' ').replace('\n', ' ');
    const bool trimmed = IsBlank(value.front()) || IsBlank(value.back());
    const bool quoted =
        value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front();
    if (trimmed || quoted)
        value = '"' + value + '"';
    return value.toStdString();
}

// Sections and keys in the order given; a section already written is left
// out, as the reader would only ever find the first.
class TLangWriter {
  public:
    void Add(const QString& section, const QList<std::pair<QString, QString>>& values) {
        std::string lines;
        for (const auto& [key, value] : values)
            if (!value.isEmpty())
                lines += key.toStdString() + '=' + FileValue(value) + "\r\n";
        if (lines.empty() || written_.contains(section.toLower()))
            return;
        written_.insert(section.toLower());
        if (!text_.empty())
            text_ += "\r\n";
        text_ += '[' + section.toStdString() + "]\r\n" + lines;
    }
    const std::string& Text() const { return text_; }

  private:
    std::string text_;
    QSet<QString> written_;
};

void AddWindow(TLangWriter& writer, QWidget* window) {
    const TVisit add = [&writer](const QString& section, QObject* component) {
        const TCaptionSlot slot = CaptionSlot(component);
        writer.Add(section, {{kCaption, slot.Get ? slot.Get() : QString()},
                             {kHint, HintText(HintOf(component))}});
    };
    if (!window->objectName().isEmpty())
        writer.Add(window->objectName(), {{kCaption, window->windowTitle()}});
    const QWidget* form = FormOf(window);
    QList<QMenuBar*> bars;
    CollectMenuBars(window, bars);
    for (QMenuBar* bar : bars)
        VisitMenu(form, bar, add);
    VisitControls(form, window, add);
}

} // namespace

QString LangSectionName(const QObject* component) {
    const QWidget* owner = OwnerOf(component);
    if (owner && !owner->objectName().isEmpty())
        return LangSectionName(owner) + '.' + component->objectName();
    return component->objectName();
}

QString LangFileForLocale(const QLocale& locale) {
    return locale.language() == QLocale::Russian ? QStringLiteral("QMKData\\Russian.qlg")
                                                 : QStringLiteral("QMKData\\English.qlg");
}

void LangSetOwnedByParent(QWidget* window) {
    window->setProperty(kOwnedByParent, true);
}

void LangApplyForm(QWidget* window, const TIniFile& file) {
    QList<QMenuBar*> bars;
    CollectMenuBars(window, bars);
    for (QMenuBar* bar : bars)
        LangApplyMenu(bar, file);
    LangApplyControls(window, file);
}

void LangApplyControls(QWidget* control, const TIniFile& file) {
    VisitControls(FormOf(control), control, [&file](const QString& section, QObject* component) {
        ApplyComponent(file, section, component);
    });
    if (IsForm(control) && !control->objectName().isEmpty()) {
        const QString caption = ReadValue(file, control->objectName(), kCaption);
        if (!caption.isEmpty())
            control->setWindowTitle(caption);
    }
}

void LangApplyMenu(QWidget* menu, const TIniFile& file) {
    VisitMenu(FormOf(menu), menu, [&file](const QString& section, QObject* component) {
        ApplyComponent(file, section, component);
    });
}

void LangApplyStrings(const TIniFile& file) {
    // Only what the file gives is unescaped: a kept row is already text.
    for (int n = 0; n < kMessageCount; ++n) {
        QString row = ReadValue(file, kStrings, QStringLiteral("Str%1").arg(n));
        if (row.isEmpty())
            continue;
        LangUnescape(row);
        SetMsg(n, row);
    }
}

void LangUnescape(QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar next = i + 1 < text.size() ? text[i + 1] : QChar();
        if (text[i] == '/' && next == 'n') {
            out += QLatin1String("\r\n");
            ++i;
        } else if (text[i] == '/' && next == '/') {
            out += '/';
            if (i + 2 < text.size())
                out += text[i + 2];
            i += 2;
        } else {
            out += text[i];
        }
    }
    text = out;
}

QString LangEscape(const QString& text) {
    QString out;
    out.reserve(text.size() + text.size() / 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar next = i + 1 < text.size() ? text[i + 1] : QChar();
        if (text[i] == '\r' && next == '\n') {
            out += QLatin1String("/n");
            ++i;
        } else if (text[i] == '/' && (next == 'n' || next == '/')) {
            out += QLatin1String("//") + next;
            ++i;
        } else if (text[i] == '\r' || text[i] == '\n') {
            out += ' ';
        } else {
            out += text[i];
        }
    }
    return out;
}

bool LangWriteFile(const std::filesystem::path& path, const QList<QWidget*>& windows) {
    TLangWriter writer;
    for (QWidget* window : windows)
        AddWindow(writer, window);
    QList<std::pair<QString, QString>> rows;
    for (int n = 0; n < kMessageCount; ++n)
        rows.append({QStringLiteral("Str%1").arg(n), LangEscape(Msg(n))});
    writer.Add(kStrings, rows);
    return WriteFileAtomically(path, writer.Text());
}

} // namespace qm
