#include "editor/TMainActions.h"

#include "editor/THotKeyEdit.h"
#include "editor/TToolButton.h"
#include "editor/ToolIcons.h"
#include "lang/GlobalConst.h"
#include "lang/MultiLang.h"
#include "platform/PlainText.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTextEdit>
#include <QToolBar>
#include <QUndoStack>

namespace qm {
namespace {

// Applies an edit command to whichever text control has the focus.
template <typename Line, typename Text, typename Plain>
void ApplyToFocused(Line onLine, Text onText, Plain onPlain) {
    QWidget* focus = QApplication::focusWidget();
    if (auto* line = qobject_cast<QLineEdit*>(focus))
        onLine(*line);
    else if (auto* text = qobject_cast<QTextEdit*>(focus))
        onText(*text);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(focus))
        onPlain(*plain);
}

// The text control with the focus when it can take back an edit of its own.
template <typename Can, typename Do> bool OnFocused(Can can, Do act) {
    QWidget* focus = QApplication::focusWidget();
    if (auto* line = qobject_cast<QLineEdit*>(focus); line && can(*line)) {
        act(*line);
        return true;
    }
    if (auto* text = qobject_cast<QTextEdit*>(focus); text && can(*text->document())) {
        act(*text);
        return true;
    }
    return false;
}

} // namespace

TMainActions::TMainActions(QMainWindow& window, QUndoStack& history)
    : QObject(&window), window_(window), history_(history) {
    CreateActions();
    ConnectEditCommands();
    CreateMenu();
    CreateToolBar();
    CreateStatusBar();
    connect(&history_, &QUndoStack::undoTextChanged, this, &TMainActions::NameEdits);
    connect(&history_, &QUndoStack::redoTextChanged, this, &TMainActions::NameEdits);
    NameEdits();
}

QAction* TMainActions::NewAction(const char* name, const char* caption,
                                 const QKeySequence& shortcut) {
    auto* action = new QAction(QString::fromUtf8(caption), &window_);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    return action;
}

void TMainActions::CreateActions() {
    actNew = NewAction("actNew", "Создать...", QKeySequence("Ctrl+N"));
    actNew->setIcon(ToolIcon("document-new"));
    actOpen = NewAction("actOpen", "Открыть", QKeySequence("Ctrl+O"));
    actOpen->setIcon(ToolIcon("document-open"));
    actOpenFromWar = NewAction("actOpenFromWar", "Открыть из WarCraft");
    actSave = NewAction("actSave", "Сохранить", QKeySequence("Ctrl+S"));
    actSave->setIcon(ToolIcon("document-save"));
    actSaveAs = NewAction("actSaveAs", "Сохранить как...", QKeySequence("Ctrl+Shift+S"));
    actSaveToWar = NewAction("actSaveToWar", "Сохранить в WarCraft");
    actExit = NewAction("actExit", "В&ыход");
    actUndo = NewAction("actUndo", "Отменить", QKeySequence("Ctrl+Z"));
    actUndo->setIcon(ToolIcon("edit-undo"));
    actRedo = NewAction("actRedo", "Повторить", QKeySequence("Ctrl+Y"));
    actRedo->setShortcuts({QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")});
    actRedo->setIcon(ToolIcon("edit-redo"));
    undoCaption_ = actUndo->text();
    redoCaption_ = actRedo->text();
    actCut = NewAction("actCut", "Вырезать", QKeySequence("Ctrl+X"));
    actCut->setIcon(ToolIcon("edit-cut"));
    actCopy = NewAction("actCopy", "Копировать", QKeySequence("Ctrl+C"));
    actCopy->setIcon(ToolIcon("edit-copy"));
    actPaste = NewAction("actPaste", "Вставить", QKeySequence("Ctrl+V"));
    actPaste->setIcon(ToolIcon("edit-paste"));
    actFind = NewAction("actFind", "Найти", QKeySequence("Ctrl+F"));
    actFind->setIcon(ToolIcon("edit-find"));
    actMultiEdit = NewAction("actMultiEdit", "Мультиредактор");
    actMultiEdit->setIcon(ToolIcon("view-grid"));
    actAbout = NewAction("actAbout", "О программе...");
    actHelp = NewAction("actHelp", "Справка", QKeySequence("F1"));
    actSelectLang = NewAction("actSelectLang", "Выбрать язык");
    actChooseGame = NewAction("actChooseGame", "Указать игру...");
    mnuAutoAdd = NewAction("mnuAutoAdd", "Автодобавление новых действий");
    mnuAlphasShow = NewAction("mnuAlphasShow", "Отображать горячие клавиши на сетке");
    for (QAction* a : {mnuAutoAdd, mnuAlphasShow}) {
        a->setCheckable(true);
        a->setChecked(true);
    }
    actAddAll = NewAction("actAddAll", "Добавить все");
    actDelAll = NewAction("actDelAll", "Удалить все");
    actResetAll = NewAction("actResetAll", "Отменить все изменения");
    actDefAll = NewAction("actDefAll", "Восстановить значения по умолчанию");

    // Short hints for the tool bar, long ones for the status bar.
    const std::pair<QAction*, const char*> hints[] = {
        {actNew, "Создать|Создать конфиг из значений по умолчанию"},
        {actOpen, "Открыть|Открыть конфигурационный файл"},
        {actSave, "Сохранить|Сохранить текущий конфиг"},
        {actUndo, "Отменить|Отменить последнее изменение"},
        {actRedo, "Повторить|Повторить отменённое изменение"},
        {actCut, "Вырезать|Вырезать выделенный текст"},
        {actCopy, "Копировать|Копировать выделенный текст"},
        {actPaste, "Вставить|Вставить текст из буфера обмена"},
        {actFind, "Найти|Вызвать диалог поиска"},
        {actMultiEdit, "Мультиредактор|Мультиредактор"},
    };
    for (const auto& [action, hint] : hints) {
        const QString text = QString::fromUtf8(hint);
        action->setToolTip(text.section(u'|', 0, 0));
        action->setStatusTip(text.section(u'|', 1));
    }

    // Saving needs a document: the first ReOpen enables these for good.
    for (QAction* a : {actSave, actSaveAs, actSaveToWar})
        a->setEnabled(false);
}

void TMainActions::ConnectEditCommands() {
    connect(actUndo, &QAction::triggered, this, &TMainActions::Undo);
    connect(actRedo, &QAction::triggered, this, &TMainActions::Redo);
    connect(actCut, &QAction::triggered, this, [] {
        ApplyToFocused([](QLineEdit& e) { e.cut(); }, [](QTextEdit& e) { e.cut(); },
                       [](QPlainTextEdit& e) { e.cut(); });
    });
    connect(actCopy, &QAction::triggered, this, [] {
        ApplyToFocused([](QLineEdit& e) { e.copy(); }, [](QTextEdit& e) { e.copy(); },
                       [](QPlainTextEdit& e) { e.copy(); });
    });
    // A hotkey field takes a paste as a typed key, through the panel's rules.
    connect(actPaste, &QAction::triggered, this, [] {
        ApplyToFocused(
            [](QLineEdit& e) {
                if (auto* hotkey = qobject_cast<THotKeyEdit*>(&e))
                    hotkey->PasteKey();
                else
                    e.paste();
            },
            [](QTextEdit& e) { e.paste(); }, [](QPlainTextEdit& e) { e.paste(); });
    });
}

void TMainActions::CreateMenu() {
    QMenuBar* mmMain = window_.menuBar();
    mmMain->setObjectName("mmMain");
    QMenu* mnuFile = mmMain->addMenu(QString::fromUtf8("&Файл"));
    mnuFile->setObjectName("mnuFile");
    mnuFile->addActions({actNew, actOpen, actOpenFromWar});
    mnuRecent = mnuFile->addMenu(QString::fromUtf8("Последние файлы"));
    mnuRecent->setObjectName("mnuRecent");
    mnuRecent->setEnabled(false);
    mnuFile->addSeparator();
    mnuFile->addActions({actSave, actSaveAs, actSaveToWar});
    mnuFile->addSeparator();
    mnuFile->addAction(actExit);

    QMenu* mnuEdit = mmMain->addMenu(QString::fromUtf8("&Правка"));
    mnuEdit->setObjectName("mnuEdit");
    mnuEdit->addActions({actUndo, actRedo});
    mnuEdit->addSeparator();
    mnuEdit->addActions({actCut, actCopy, actPaste});
    mnuEdit->addSeparator();
    mnuEdit->addAction(actFind);

    CreateViewMenu(*mmMain);

    QMenu* mnuServis = mmMain->addMenu(QString::fromUtf8("&Сервис"));
    mnuServis->setObjectName("mnuServis");
    mnuServis->addActions({mnuAutoAdd, actAddAll, actDelAll});
    mnuServis->addSeparator();
    mnuServis->addAction(mnuAlphasShow);
    mnuServis->addSeparator();
    mnuServis->addActions({actResetAll, actDefAll});
    mnuServis->addSeparator();
    mnuServis->addAction(actMultiEdit);
    mnuServis->addSeparator();
    mnuServis->addActions({actSelectLang, actChooseGame});

    // Menu items with names of their own beside their commands', which
    // language files may use.
    const std::pair<QAction*, const char*> items[] = {{actFind, "mnuFind"},
                                                      {actMultiEdit, "mnuMultiEdit"},
                                                      {actSelectLang, "mnuSelectLang"},
                                                      {actHelp, "mnuQMKHelp"},
                                                      {actAbout, "mnuAbout"}};
    for (const auto& [action, name] : items)
        LangSetMenuItemName(action, name);

    mnuHelp_ = new QMenu(QString::fromUtf8("Сп&равка"), &window_);
    mnuHelp_->setObjectName("mnuHelp");
    mnuHelp_->addAction(actHelp);
    mnuHelp_->addSeparator();
    mnuHelp_->addAction(actAbout);
    MoveHelpMenuRight();
}

void TMainActions::CreateViewMenu(QMenuBar& bar) {
    mnuView = bar.addMenu(QString::fromUtf8("&Вид"));
    mnuView->setObjectName("mnuView");
    QMenu* mnuEncoding = mnuView->addMenu(QString::fromUtf8("&Кодировка"));
    mnuEncoding->setObjectName("mnuEncoding");
    // The captions follow kCodePages.
    constexpr const char* kCaptions[][2] = {
        {"mnuCodePageCyrillic", "Кириллица (Windows-1251)"},
        {"mnuCodePageWestern", "Западноевропейская (Windows-1252)"},
        {"mnuCodePageGbk", "Китайская упрощённая (GBK)"},
        {"mnuCodePageBig5", "Китайская традиционная (Big5)"}};
    static_assert(std::size(kCaptions) == kCodePages.size());
    CodePages = new QActionGroup(this);
    for (int i = 0; i < static_cast<int>(std::size(kCaptions)); ++i) {
        QAction* item = NewAction(kCaptions[i][0], kCaptions[i][1]);
        item->setCheckable(true);
        item->setData(i);
        CodePages->addAction(item);
        mnuEncoding->addAction(item);
    }
}

void TMainActions::ShowCodePage(TCodePage page) {
    const auto index = std::find(kCodePages.begin(), kCodePages.end(), page) - kCodePages.begin();
    CodePages->actions().at(static_cast<int>(index))->setChecked(true);
}

// Qt's menu bar lays every menu out from the left; a second bar in the
// right corner carries Help to the right edge.
void TMainActions::MoveHelpMenuRight() {
    QMenuBar* bar = window_.menuBar();
    auto* corner = qobject_cast<QMenuBar*>(bar->cornerWidget(Qt::TopRightCorner));
    if (!corner) {
        corner = new QMenuBar(bar);
        corner->setObjectName("mmHelpCorner");
        corner->addMenu(mnuHelp_);
        bar->setCornerWidget(corner, Qt::TopRightCorner);
    }
    corner->adjustSize();
    bar->adjustSize();
    bar->update();
}

void TMainActions::CreateToolBar() {
    QToolBar* tbMain = window_.addToolBar(QStringLiteral("tbMain"));
    tbMain->setObjectName("tbMain");
    tbMain->setMovable(false);
    tbMain->setFloatable(false);
    tbMain->setIconSize(QSize(16, 16));
    tbMain->toggleViewAction()->setVisible(false);
    window_.setContextMenuPolicy(Qt::NoContextMenu);
    const auto add = [tbMain](QAction* action, const char* name) {
        tbMain->addWidget(new TToolButton(*action, name, tbMain));
    };
    add(actNew, "tbNew");
    add(actOpen, "tbOpen");
    add(actSave, "tbSave");
    tbMain->addSeparator();
    add(actFind, "tbFind");
    tbMain->addSeparator();
    add(actCut, "tbCut");
    add(actCopy, "tbCopy");
    add(actPaste, "tbPaste");
    add(actUndo, "tbUndo");
    add(actRedo, "tbRedo");
    tbMain->addSeparator();
    add(actMultiEdit, "tbMultiEdit");
}

// One line under the client area: the full path of the open file, which the
// caption's bare file name cannot tell apart (the game's folder and the
// player's documents both hold a CustomKeys.txt).
void TMainActions::CreateStatusBar() {
    QStatusBar* sbMain = window_.statusBar();
    sbMain->setObjectName("sbMain");
    sbMain->setSizeGripEnabled(false);
    lblFileName_ = new QLabel(sbMain);
    lblFileName_->setObjectName("lblFileName");
    lblFileName_->setTextFormat(Qt::PlainText); // a path, whatever its name holds
    // A long path is shortened in its middle, never widening the window.
    lblFileName_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    sbMain->addWidget(lblFileName_, 1);
}

void TMainActions::ShowFileName(const QString& text) {
    const int room = window_.width() - 16;
    lblFileName_->setText(lblFileName_->fontMetrics().elidedText(text, Qt::ElideMiddle, room));
    lblFileName_->setToolTip(PlainToolTip(text));
}

} // namespace qm

namespace qm {

void TMainActions::Undo() {
    if (!OnFocused([](const auto& e) { return e.isUndoAvailable(); }, [](auto& e) { e.undo(); }))
        history_.undo();
}

void TMainActions::Redo() {
    if (!OnFocused([](const auto& e) { return e.isRedoAvailable(); }, [](auto& e) { e.redo(); }))
        history_.redo();
}

// The edit an undo would take back is named in the command; the bare
// caption stands while there is none (and while a language file is read or
// written, so that it keeps the bare captions).
void TMainActions::NameEdits() {
    // The commands stay enabled: a text control with the focus may have a
    // history of its own.
    const auto name = [this](QAction* action, QString& caption, int named, const QString& edit) {
        if (!namesShown_ || edit.isEmpty())
            action->setText(caption);
        else
            action->setText(Msg(named).arg(edit));
    };
    name(actUndo, undoCaption_, msgUndoNamed, history_.undoText());
    name(actRedo, redoCaption_, msgRedoNamed, history_.redoText());
}

void TMainActions::ShowEditNames(bool shown) {
    if (shown) {
        undoCaption_ = actUndo->text();
        redoCaption_ = actRedo->text();
    }
    namesShown_ = shown;
    NameEdits();
}

} // namespace qm
