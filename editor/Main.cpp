#include "editor/Main.h"

#include "config/uCfgManager.h"
#include "editor/Loading.h"
#include "editor/PathText.h"
#include "editor/TActionPanel.h"
#include "editor/TActionTreeView.h"
#include "editor/TCommandCard.h"
#include "editor/TFileCommands.h"
#include "editor/THotKeyConflicts.h"
#include "editor/TImportSteps.h"
#include "editor/TMainActions.h"
#include "editor/TRecordEditor.h"
#include "editor/TServiceCommands.h"
#include "editor/TTipPages.h"
#include "lang/About.h"
#include "lang/GlobalConst.h"
#include "lang/Help.h"
#include "lang/InterfaceLanguage.h"
#include "lang/MultiLang.h"
#include "platform/PlayerDocuments.h"
#include "tools/ConflictList.h"
#include "tools/Find.h"
#include "tools/MultiEdit.h"
#include "tools/TreeFilter.h"
#include "tooltips/ColorPickerForm.h"
#include "tooltips/TemplateDlg.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTreeWidget>

namespace qm {
namespace {

namespace fs = std::filesystem;

constexpr int kClientWidth = 677;
constexpr int kClientHeight = 406;
const char* const kAppTitle = "Quillmark";

// The file-name part of a path in either separator form.
QString FileNamePart(const QString& path) {
    const qsizetype cut = std::max(path.lastIndexOf('/'), path.lastIndexOf('\\'));
    return path.mid(cut + 1);
}

} // namespace

TfrmMain::TfrmMain(TPlatform& platform, fs::path programFolder, QWidget* parent)
    : QMainWindow(parent), platform_(platform), programFolder_(std::move(programFolder)),
      settings_(FromPath(programFolder_)), tvMain_(new TActionTreeView(ilMain_.Size())),
      tree_(*tvMain_, ilMain_, ToPath(settings_.IconsFolder())),
      dlgMultiEdit_([this] { return new TdlgMultiEdit(tree_, documents_, *dlgTemplate_, this); },
                    [this](QWidget& window) { TranslateWindow(window); }),
      frmHelp_([this] { return new TfrmHelp(this); },
               [this](QWidget& window) { TranslateWindow(window); }),
      aboutBox_([this] { return new TAboutBox(this); }, [](QWidget&) {}) {
    setObjectName("frmMain");
    setWindowTitle(kAppTitle);
    actions_ = new TMainActions(*this, documents_.UndoStack());
    files_ = new TFileCommands(*this, *actions_->mnuRecent);
    CreateClientArea();
    dlgFind_ = new TdlgFind(tree_, documents_, platform_, this);
    language_ = std::make_unique<TInterfaceLanguage>();
    setWindowIcon(ProgramPicture());
    ConnectActions();
    connect(&documents_.UndoStack(), &QUndoStack::cleanChanged, this, &TfrmMain::ShowModified);
    connect(&documents_, &TDocumentSet::Changed, this, &TfrmMain::UpdateAddButton);
    resize(kClientWidth,
           menuBar()->sizeHint().height() + kClientHeight + statusBar()->sizeHint().height());
}

TfrmMain::~TfrmMain() {
    // The nodes refer to records of the working copy: drop them first.
    tree_.FreeTvData();
    documents_.TryToDestroyCfgMngrs();
    delete loading_;
}

void TfrmMain::ConnectActions() {
    const TMainActions& a = *actions_;
    connect(a.actNew, &QAction::triggered, files_, &TFileCommands::New);
    connect(a.actOpen, &QAction::triggered, files_, &TFileCommands::Open);
    connect(a.actOpenFromWar, &QAction::triggered, files_, &TFileCommands::OpenFromWar);
    connect(a.actSave, &QAction::triggered, files_, &TFileCommands::Save);
    connect(a.actSaveAs, &QAction::triggered, files_, &TFileCommands::SaveAs);
    connect(a.actSaveToWar, &QAction::triggered, files_, &TFileCommands::SaveToWar);
    connect(a.actExit, &QAction::triggered, this, &TfrmMain::actExitExecute);
    auto* service = new TServiceCommands(*this);
    connect(a.actAddAll, &QAction::triggered, service, &TServiceCommands::AddAll);
    connect(a.actDelAll, &QAction::triggered, service, &TServiceCommands::DelAll);
    connect(a.actResetAll, &QAction::triggered, service, &TServiceCommands::ResetAll);
    connect(a.actDefAll, &QAction::triggered, service, &TServiceCommands::DefAll);
    connect(a.actChooseGame, &QAction::triggered, service, &TServiceCommands::ChooseGame);
    connect(a.mnuAutoAdd, &QAction::triggered, this, &TfrmMain::mnuAutoAddClick);
    connect(a.mnuAlphasShow, &QAction::triggered, this, &TfrmMain::mnuAlphasShowClick);
    connect(a.actFind, &QAction::triggered, this, [this] { ShowTool(*dlgFind_); });
    connect(a.actMultiEdit, &QAction::triggered, this, [this] { ShowTool(dlgMultiEdit_.Get()); });
    connect(a.actHelp, &QAction::triggered, this, &TfrmMain::actHelpExecute);
    connect(a.actAbout, &QAction::triggered, this, &TfrmMain::actAboutExecute);
    connect(a.actSelectLang, &QAction::triggered, this, &TfrmMain::actSelectLangExecute);
    connect(a.CodePages, &QActionGroup::triggered, this, [this](QAction* item) {
        documents_.SetCodePage(kCodePages[static_cast<size_t>(item->data().toInt())]);
    });
    connect(&documents_, &TDocumentSet::Changed, this,
            [this] { actions_->ShowCodePage(documents_.Encoding().CodePage); });
}

// The tree takes the room the window has beyond the natural sizes of the
// panel, the card and the tooltip pages, which keep theirs at the right.
void TfrmMain::CreateClientArea() {
    auto* client = new QWidget(this);
    client->setObjectName("pnlClient");
    setCentralWidget(client);
    auto* columns = new QHBoxLayout(client);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(7);
    auto* treeColumn = new QVBoxLayout;
    treeColumn->setObjectName("lyTree");
    columns->addLayout(treeColumn, 1);
    CreateTree(client);
    filter_ = new TTreeFilter(tree_, documents_, client);
    treeColumn->addWidget(filter_);
    treeColumn->addWidget(tvMain_);
    addAction(&filter_->actTreeFilter());
    actions_->mnuView->addSeparator();
    actions_->mnuView->addAction(&filter_->actOnlyChanged());
    CreateConflictList();
    auto* editing = new QWidget(client);
    editing->setObjectName("pnlEditing");
    columns->addWidget(editing, 0, Qt::AlignTop);

    editor_ = std::make_unique<TRecordEditor>(documents_, tree_.Model());
    conflicts_ = std::make_unique<THotKeyConflicts>(tree_, platform_, *this);
    editor_->SetAskSwap([this](int otherNode) { return conflicts_->AskToSwap(otherNode); });
    TColorPickerForm::SetPlatform(&platform_);
    dlgTemplate_ = new TdlgTemplate(this);
    LangSetOwnedByParent(dlgTemplate_);
    card_ = new TCommandCard(tree_, ilMain_, documents_, *editor_, editing);
    panel_ = new TActionPanel(tree_, documents_, *editor_, *dlgTemplate_, *actions_->mnuAutoAdd,
                              editing);
    editing->setFixedSize(panel_->size());
    // The card stands over the panel's upper right part.
    card_->move(238, 24);
    card_->raise();
    connect(card_, &TCommandCard::SelectNode, this, &TfrmMain::SelectNode);
    // A letter on the card's framed button: that action, as typed in the tree.
    connect(card_, &TCommandCard::TypeKey, this, [this](int index, QChar key) {
        SelectNode(index);
        tvMainKeyPress(key);
        card_->setFocus();
    });
    panel_->Tips().SetAskUtf8([this] {
        const QString page = QString::fromLatin1(CodePageName(documents_.Encoding().CodePage));
        return Say(true, msgQuestion, Msg(msgStoreAsUtf8).arg(page), TMsgIcon::Question,
                   TMsgButtons::YesNo) == TMsgAnswer::Yes;
    });
    connect(panel_, &TActionPanel::ReturnToTree, tvMain_, [this] { tvMain_->setFocus(); });
    connect(panel_, &TActionPanel::KeyRefused, this,
            [this](const QString& note) { statusBar()->showMessage(note, 5000); });

    btnAdd_ = new QPushButton(QString::fromUtf8("Добавить"), editing);
    btnAdd_->setObjectName("btnAdd");
    btnAdd_->setGeometry(238, 137, 77, 24);
    btnAdd_->setVisible(false);
    btnAdd_->setEnabled(false);
    connect(btnAdd_, &QPushButton::clicked, this, &TfrmMain::btnAddClick);

    auto* btnBack = new QPushButton(QString::fromUtf8("Назад"), editing);
    btnBack->setObjectName("btnBack");
    btnBack->setGeometry(315, 137, 74, 24);
    connect(btnBack, &QPushButton::clicked, this, &TfrmMain::btnBackClick);
}

// Below the window, hidden until the View menu shows it; its count stays
// in the status bar.
void TfrmMain::CreateConflictList() {
    auto* count = new QLabel(this);
    count->setObjectName("lblConflicts");
    count->setTextFormat(Qt::PlainText);
    statusBar()->addPermanentWidget(count);
    conflictList_ = new TConflictList(tree_, documents_, *count, this);
    addDockWidget(Qt::BottomDockWidgetArea, conflictList_);
    conflictList_->hide();
    actions_->mnuView->addAction(conflictList_->toggleViewAction());
    connect(conflictList_, &TConflictList::SelectNode, this, &TfrmMain::SelectNode);
}

void TfrmMain::CreateTree(QWidget* client) {
    tvMain_->setParent(client);
    tvMain_->setMinimumWidth(200);
    connect(tvMain_, &TActionTreeView::KeyPress, this, &TfrmMain::tvMainKeyPress);
    connect(tvMain_, &QTreeWidget::itemExpanded, this, &TfrmMain::tvMainExpanding);
    connect(tvMain_, &QTreeWidget::currentItemChanged, this, &TfrmMain::tvMainChange);
}

// The tool windows stay open beside the main window without blocking it,
// centred on the screen the first time.
void TfrmMain::ShowTool(QWidget& window) {
    if (!window.isVisible() && window.property("placed").isNull()) {
        window.setProperty("placed", true);
        if (QScreen* s = screen())
            window.move(s->availableGeometry().center() - window.rect().center());
    }
    window.show();
    window.raise();
    window.activateWindow();
}

// The first show: where the window was left, when that is on a screen;
// else the default size, centred.
void TfrmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (placed_)
        return;
    placed_ = true;
    const QRect last = settings_.WindowGeometry;
    if (last.isValid() && QGuiApplication::screenAt(last.center())) {
        setGeometry(last);
        if (settings_.WindowMaximized)
            setWindowState(windowState() | Qt::WindowMaximized);
    } else if (QScreen* s = screen()) {
        move(s->availableGeometry().center() - rect().center());
    }
}

TMsgAnswer TfrmMain::Say(bool owned, int caption, const QString& text, TMsgIcon icon,
                         TMsgButtons buttons) {
    return platform_.MessageBox(owned ? this : nullptr, Msg(caption), text, icon, buttons);
}

// ---- start-up ----

bool TfrmMain::Start() {
    if (!platform_.AcquireSingleCopy()) {
        platform_.MessageBox(nullptr, kAppTitle, Msg(msgAlreadyRunning), TMsgIcon::Information,
                             TMsgButtons::Ok);
        return false;
    }
    settings_.Folders().Prepare();
    loading_ = new TfrmLoading(settings_);
    // The loading window and every message of the start are in the
    // interface's language already.
    language_->Apply(ToPath(settings_.Resolve(settings_.LangFile())), {loading_});
    ReportLockProblem();
    ShowStatus(msgStatusPreparing);
    loading_->show();
    bool started = LoadProjectSettings();
    if (started) {
        if (settings_.Builtin)
            tree_.SetIconsFolder(ToPath(settings_.IconsFolder()));
        else
            PreLoad();
        actions_->MoveHelpMenuRight();
        started = ReOpen(DefaultConfigPath());
    }
    delete loading_;
    loading_ = nullptr;
    // Said where it stays in sight, and how to change it.
    if (started && settings_.Builtin)
        statusBar()->showMessage(Msg(msgNoGameBuiltin));
    return started;
}

// Without its lock the program runs all the same; the user hears where the
// lock should be and why it is not.
void TfrmMain::ReportLockProblem() {
    const TPlatform::TLockProblem lock = platform_.SingleCopyProblem();
    if (!lock.Path.isEmpty())
        Say(false, msgAttention,
            WithReason(Msg(msgLockUnavailable), lock.Path, lock.Why.toLocal8Bit().toStdString()),
            TMsgIcon::Warning);
}

void TfrmMain::ShowStatus(int message) {
    emit StartupStatus(Msg(message));
    if (loading_)
        loading_->SetStatus(Msg(message));
}

bool TfrmMain::LoadProjectSettings() {
    settings_.LoadInterface();
    panel_->LoadSettings(settings_);
    actions_->mnuAutoAdd->setChecked(settings_.mnuAutoAdd);
    mnuAutoAddClick();
    actions_->mnuAlphasShow->setChecked(settings_.mnuAlphasShow);
    card_->SetLettersShown(settings_.mnuAlphasShow);
    files_->ShowRecent();
    // Without a game, and with the built-in defaults at hand, the editor
    // works on those.
    if (!settings_.LocateGameFolder(platform_)) {
        if (!settings_.HasBuiltin())
            return false;
        settings_.Builtin = true;
    }
    LoadInterfaceLang();
    return true;
}

QList<QWidget*> TfrmMain::TranslatableWindows() {
    QList<QWidget*> windows = {this, dlgFind_, dlgMultiEdit_.IfMade(), dlgTemplate_,
                               frmHelp_.IfMade()};
    windows.removeAll(nullptr);
    if (loading_)
        windows.prepend(loading_);
    return windows;
}

// A window made after the language was chosen takes it on.
void TfrmMain::TranslateWindow(QWidget& window) {
    language_->Apply(ToPath(settings_.Resolve(settings_.LangFile())), {&window});
    QEvent changed(QEvent::LanguageChange);
    QCoreApplication::sendEvent(&window, &changed);
}

// Texts shown from the message table follow too: the caption and the
// panel's; the Help menu goes back to the right edge.
// The windows hear of the change, so that texts they compose from the message
// table (the multi-editor's count, say) follow.
void TfrmMain::LoadInterfaceLang() {
    actions_->ShowEditNames(false);
    const QList<QWidget*> windows = TranslatableWindows();
    language_->Apply(ToPath(settings_.Resolve(settings_.LangFile())), windows);
    actions_->ShowEditNames(true);
    // The filter's hint and the clash list are made from the message table too.
    for (QWidget* window : windows + QList<QWidget*>{filter_, conflictList_}) {
        QEvent changed(QEvent::LanguageChange);
        QCoreApplication::sendEvent(window, &changed);
    }
    actions_->MoveHelpMenuRight();
    if (documents_.CurCfgMngr()) {
        UpdateCaption();
        tvMainChange();
    }
}

bool TfrmMain::DumpLanguage(const fs::path& file, const QString& locale) {
    TfrmLoading loading;
    dlgMultiEdit_.Get(true);
    frmHelp_.Get(true);
    QList<QWidget*> windows = TranslatableWindows();
    windows.prepend(&loading);
    return TInterfaceLanguage::Write(file, windows, locale);
}

// The file is looked for in the data folder under its own name, wherever
// it was chosen.
void TfrmMain::actSelectLangExecute() {
    const QString chosen = platform_.OpenFileName(
        this, settings_.Resolve(QStringLiteral("QMKData")), Msg(msgLangFilter));
    if (chosen.isEmpty())
        return;
    settings_.LangFileName = QStringLiteral("QMKData\\") + QFileInfo(chosen).fileName();
    LoadInterfaceLang();
}

// HTML Help where the system has it and the compiled help file lies beside
// the program; our own help window everywhere else.
void TfrmMain::actHelpExecute() {
    const QString program = settings_.ProgramFolder();
    switch (frmHelp_.Get().ShowTopic(platform_, *this, program, settings_.LangFile(),
                                     QString::fromUtf8("Введение"))) {
    case TfrmHelp::TWhere::Here:
        ShowTool(frmHelp_.Get());
        break;
    case TfrmHelp::TWhere::Nowhere:
        Say(true, msgError,
            Msg(msgNoHelp) +
                QDir::toNativeSeparators(TfrmHelp::BookFolder(program, settings_.LangFile())),
            TMsgIcon::Error);
        break;
    case TfrmHelp::TWhere::HtmlHelp:
        break;
    }
}

void TfrmMain::actAboutExecute() {
    aboutBox_.Get().exec();
}

void TfrmMain::PreLoad() {
    TImportSteps steps(
        settings_, {[this](int message) { ShowStatus(message); },
                    [this](int done, int total) {
                        if (loading_)
                            loading_->SetProgress(done, total);
                    },
                    [this](const QString& text) { Say(true, msgError, text, TMsgIcon::Error); }});
    steps.Run();
}

void TfrmMain::SaveProjectSettings() {
    panel_->StoreSettings(settings_);
    settings_.mnuAutoAdd = actions_->mnuAutoAdd->isChecked();
    settings_.mnuAlphasShow = actions_->mnuAlphasShow->isChecked();
    if (placed_) {
        settings_.WindowGeometry = normalGeometry();
        settings_.WindowMaximized = isMaximized();
    }
    ReportSettingsWrite(settings_.SaveProjectSettings());
}

// A settings file that cannot be written is reported, never a reason to
// keep the user from closing the window or replacing a document.
void TfrmMain::ReportSettingsWrite(bool written) {
    if (!written)
        Say(true, msgError, settings_.WriteFailureText(), TMsgIcon::Error);
}

// ---- documents ----

QString TfrmMain::DefaultConfigPath() const {
    return settings_.Resolve(settings_.DefaultConfigFile());
}

QString TfrmMain::GameConfigPath() const {
    const QString game = settings_.GameFolder();
    return FromPath(GameCustomKeys(ToPath(game), ToPath(platform_.DocumentsFolder(game))));
}

bool TfrmMain::ReOpen(const QString& path) {
    std::string why;
    switch (documents_.ReOpen(DefaultConfigPath(), path, &why)) {
    case TDocumentSet::TReadResult::DefaultsUnreadable:
        Say(true, msgError,
            WithReason(Msg(msgCannotReadInternal) + settings_.DefaultConfigFile(),
                       DefaultConfigPath(), why),
            TMsgIcon::Error);
        return false;
    case TDocumentSet::TReadResult::FileUnreadable:
        Say(true, msgError, WithReason(Msg(msgCannotRead) + path + Msg(msgNotAConfig), path, why),
            TMsgIcon::Error);
        return false;
    case TDocumentSet::TReadResult::Ok:
        break;
    }
    if (!LoadTreeOnce()) {
        documents_.TryToDestroyCfgMngrs();
        return false;
    }
    for (QAction* a : {actions_->actSave, actions_->actSaveAs, actions_->actSaveToWar})
        a->setEnabled(true);
    UpdateCaption();
    if (!IsUntitled())
        files_->Remember(path);
    filter_->Refresh();
    conflictList_->Refresh();
    {
        const QSignalBlocker quiet(tvMain_);
        tvMain_->setCurrentItem(tvMain_->topLevelItem(0));
    }
    tvMainChange();
    return true;
}

bool TfrmMain::LoadTreeOnce() {
    if (tvMain_->topLevelItemCount() > 0)
        return true;
    repaint();
    std::string why;
    const QString path = settings_.Resolve(settings_.TreeFile());
    tree_.LoadTVFromFile(ToPath(path), &why);
    if (tvMain_->topLevelItemCount() == 0) {
        Say(true, msgError,
            WithReason(Msg(msgCannotLoadTree) + settings_.TreeFile() + Msg(msgTreeInProgramFolder),
                       path, why),
            TMsgIcon::Error);
        return false;
    }
    tree_.CheckUpBrunchIcons(tvMain_->topLevelItem(0));
    return true;
}

bool TfrmMain::IsUntitled() const {
    return FileNamePart(CurFileName()) == FileNamePart(settings_.DefaultConfigFile());
}

// "[*]" is where Qt shows the asterisk of unsaved changes.
void TfrmMain::UpdateCaption() {
    if (IsUntitled())
        setWindowTitle(QStringLiteral("Quillmark:") + Msg(msgUntitled) + QStringLiteral("[*]"));
    else
        setWindowTitle(QStringLiteral("Quillmark: (") + QFileInfo(CurFileName()).fileName() +
                       QStringLiteral(")[*]"));
    ShowModified(documents_.UndoStack().isClean());
}

void TfrmMain::ShowModified(bool clean) {
    setWindowModified(!clean);
    const QString name = IsUntitled() ? Msg(msgUntitled) : QDir::toNativeSeparators(CurFileName());
    actions_->ShowFileName(clean ? name : QStringLiteral("* ") + name);
}

bool TfrmMain::SaveRequest() {
    if (!documents_.CurCfgMngr() || !documents_.DefCfgMngr())
        return true;
    if (HasUnsavedChanges()) {
        switch (Say(true, msgAttention, Msg(msgFileChanged), TMsgIcon::Question,
                    TMsgButtons::YesNoCancel)) {
        case TMsgAnswer::Yes:
            if (!actSaveExecute()) {
                SaveProjectSettings();
                return false;
            }
            break;
        case TMsgAnswer::No:
            break;
        default:
            SaveProjectSettings();
            return false;
        }
    }
    SaveProjectSettings();
    return true;
}

bool TfrmMain::FormCloseQuery() {
    if (!SaveRequest())
        return false;
    tree_.FreeTvData();
    documents_.TryToDestroyCfgMngrs();
    return true;
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    event->setAccepted(FormCloseQuery());
}

// ---- file commands ----

void TfrmMain::actExitExecute() {
    close();
}

// ---- service commands ----

void TfrmMain::mnuAutoAddClick() {
    btnAdd_->setVisible(!actions_->mnuAutoAdd->isChecked());
}

void TfrmMain::mnuAlphasShowClick() {
    card_->SetLettersShown(actions_->mnuAlphasShow->isChecked());
    tvMainChange();
}

// ---- the tree ----

void TfrmMain::tvMainExpanding(QTreeWidgetItem* item) {
    if (item && item->childCount() > 0)
        tree_.CheckUpBrunchIcons(item->child(0));
}

void TfrmMain::tvMainChange() {
    QTreeWidgetItem* node = tvMain_->currentItem();
    if (node && documents_.CurCfgMngr()) {
        const auto held = QGuiApplication::keyboardModifiers();
        if (tvMain_->selectedItems().size() > 1 &&
            !(held & (Qt::ShiftModifier | Qt::ControlModifier))) {
            const QSignalBlocker quiet(tvMain_);
            tvMain_->clearSelection();
            node->setSelected(true);
        }
        panel_->setTitle(node->text(0));
        panel_->Tips().ShowFirstPage();
        panel_->LoadControlsData(node);
        card_->DrawBrunchButtons(node);
    }
    panel_->DisableEmptyControls();
    UpdateAddButton();
}

// Add stays off whenever the shown node has a record, so a click can never
// add a second record with the same identifier.
void TfrmMain::UpdateAddButton() {
    TTVNode* node = TTVNode::From(tvMain_->currentItem());
    const TCfgManager* working = documents_.CurCfgMngr();
    btnAdd_->setEnabled(node && working && tree_.AssignNodeData(node, *working) == 1 &&
                        documents_.DefCfgMngr()->FindRecord(node->Data.ID));
}

void TfrmMain::btnAddClick() {
    panel_->AddSelected();
    UpdateAddButton();
}

void TfrmMain::btnBackClick() {
    QTreeWidgetItem* node = tvMain_->currentItem();
    if (node && node->parent())
        tvMain_->setCurrentItem(node->parent());
}

void TfrmMain::SelectNode(int index) {
    if (TTVNode* node = tree_.ItemAt(index)) {
        tvMain_->setCurrentItem(node);
        tvMain_->scrollToItem(node);
    }
}

// A character typed in the tree goes to the first enabled hotkey field.
void TfrmMain::tvMainKeyPress(QChar key) {
    panel_->TypeIntoFirstField(key);
}

} // namespace qm
