#include "editor/Main.h"

#include "config/uCfgManager.h"
#include "editor/GlobalConst.h"
#include "editor/Loading.h"
#include "gamedata/PreLoad.h"
#include "gamedata/TreeRewrite.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTextEdit>
#include <QToolBar>
#include <QTreeWidget>

namespace qm {
namespace {

namespace fs = std::filesystem;

constexpr int kClientWidth = 677;
constexpr int kClientHeight = 406;
const char* const kAppTitle = "Quillmark";
const char* const kGameConfigName = "CustomKeys.txt";

fs::path ToPath(const QString& path) {
    return fs::path(path.toStdU16String());
}

QString FromPath(const fs::path& path) {
    return QString::fromStdU16String(path.u16string());
}

// The file-name part of a path in either separator form.
QString FileNamePart(const QString& path) {
    const qsizetype cut = std::max(path.lastIndexOf('/'), path.lastIndexOf('\\'));
    return path.mid(cut + 1);
}

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

} // namespace

TfrmMain::TfrmMain(TPlatform& platform, fs::path programFolder, QWidget* parent)
    : QMainWindow(parent), platform_(platform), programFolder_(std::move(programFolder)),
      settings_(FromPath(programFolder_)), tvMain_(new QTreeWidget),
      tree_(*tvMain_, ilMain_, programFolder_ / "Icons") {
    setObjectName("frmMain");
    setWindowTitle(kAppTitle);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    CreateActions();
    CreateMenu();
    CreateToolBar();
    CreateClientArea();
    setFixedSize(kClientWidth, menuBar()->sizeHint().height() + kClientHeight);
}

TfrmMain::~TfrmMain() {
    // The nodes refer to records of the working copy: drop them first.
    tree_.FreeTvData();
    TryToDestroyCfgMngrs();
    delete loading_;
}

QAction* TfrmMain::NewAction(const char* name, const QString& caption,
                             const QKeySequence& shortcut) {
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    return action;
}

void TfrmMain::CreateActions() {
    QStyle* s = style();
    actNew_ = NewAction("actNew", QString::fromUtf8("Создать..."), QKeySequence("Ctrl+N"));
    actNew_->setIcon(s->standardIcon(QStyle::SP_FileIcon));
    actOpen_ = NewAction("actOpen", QString::fromUtf8("Открыть"), QKeySequence("Ctrl+O"));
    actOpen_->setIcon(s->standardIcon(QStyle::SP_DialogOpenButton));
    actOpenFromWar_ = NewAction("actOpenFromWar", QString::fromUtf8("Открыть из WarCraft"));
    actSave_ = NewAction("actSave", QString::fromUtf8("Сохранить"), QKeySequence("Ctrl+S"));
    actSave_->setIcon(s->standardIcon(QStyle::SP_DialogSaveButton));
    actSaveAs_ =
        NewAction("actSaveAs", QString::fromUtf8("Сохранить как..."), QKeySequence("Ctrl+Shift+S"));
    actSaveToWar_ = NewAction("actSaveToWar", QString::fromUtf8("Сохранить в WarCraft"));
    actExit_ = NewAction("actExit", QString::fromUtf8("В&ыход"));
    actUndo_ = NewAction("actUndo", QString::fromUtf8("Отменить"), QKeySequence("Ctrl+Z"));
    actUndo_->setIcon(s->standardIcon(QStyle::SP_ArrowBack));
    actCut_ = NewAction("actCut", QString::fromUtf8("Вырезать"), QKeySequence("Ctrl+X"));
    actCut_->setIcon(s->standardIcon(QStyle::SP_DialogDiscardButton));
    actCopy_ = NewAction("actCopy", QString::fromUtf8("Копировать"), QKeySequence("Ctrl+C"));
    actCopy_->setIcon(s->standardIcon(QStyle::SP_FileDialogDetailedView));
    actPaste_ = NewAction("actPaste", QString::fromUtf8("Вставить"), QKeySequence("Ctrl+V"));
    actPaste_->setIcon(s->standardIcon(QStyle::SP_DialogApplyButton));
    actFind_ = NewAction("actFind", QString::fromUtf8("Найти"), QKeySequence("Ctrl+F"));
    actFind_->setIcon(s->standardIcon(QStyle::SP_FileDialogContentsView));
    actMultiEdit_ = NewAction("actMultiEdit", QString::fromUtf8("Мультиредактор"));
    actMultiEdit_->setIcon(s->standardIcon(QStyle::SP_FileDialogListView));
    actAbout_ = NewAction("actAbout", QString::fromUtf8("О программе..."));
    actHelp_ = NewAction("actHelp", QString::fromUtf8("Справка"), QKeySequence("F1"));
    mnuAutoAdd_ = NewAction("mnuAutoAdd", QString::fromUtf8("Автодобавление новых действий"));
    mnuAutoAdd_->setCheckable(true);
    mnuAutoAdd_->setChecked(true);
    mnuAlphasShow_ =
        NewAction("mnuAlphasShow", QString::fromUtf8("Отображать горячие клавиши на сетке"));
    mnuAlphasShow_->setCheckable(true);
    mnuAlphasShow_->setChecked(true);
    actAddAll_ = NewAction("actAddAll", QString::fromUtf8("Добавить все"));
    actDelAll_ = NewAction("actDelAll", QString::fromUtf8("Удалить все"));
    actResetAll_ = NewAction("actResetAll", QString::fromUtf8("Отменить все изменения"));
    actDefAll_ = NewAction("actDefAll", QString::fromUtf8("Восстановить значения по умолчанию"));

    // Saving needs a document: the first ReOpen enables these for good.
    for (QAction* a : {actSave_, actSaveAs_, actSaveToWar_})
        a->setEnabled(false);
    // The find dialog, the multi-editor and the about box are windows of
    // their own that this build does not have yet.
    for (QAction* a : {actFind_, actMultiEdit_, actAbout_})
        a->setEnabled(false);

    connect(actNew_, &QAction::triggered, this, &TfrmMain::actNewExecute);
    connect(actOpen_, &QAction::triggered, this, &TfrmMain::actOpenExecute);
    connect(actOpenFromWar_, &QAction::triggered, this, &TfrmMain::actOpenFromWarExecute);
    connect(actSave_, &QAction::triggered, this, &TfrmMain::actSaveExecute);
    connect(actSaveAs_, &QAction::triggered, this, &TfrmMain::actSaveAsExecute);
    connect(actSaveToWar_, &QAction::triggered, this, &TfrmMain::actSaveToWarExecute);
    connect(actExit_, &QAction::triggered, this, &TfrmMain::actExitExecute);
    connect(actAddAll_, &QAction::triggered, this, &TfrmMain::actAddAllExecute);
    connect(actDelAll_, &QAction::triggered, this, &TfrmMain::actDelAllExecute);
    connect(actResetAll_, &QAction::triggered, this, &TfrmMain::actResetAllExecute);
    connect(actDefAll_, &QAction::triggered, this, &TfrmMain::actDefAllExecute);
    connect(mnuAutoAdd_, &QAction::triggered, this, &TfrmMain::mnuAutoAddClick);
    connect(actHelp_, &QAction::triggered, this,
            [this] { platform_.ShowHelp(this, QString::fromUtf8("Введение")); });
    connect(actUndo_, &QAction::triggered, this, [] {
        ApplyToFocused([](QLineEdit& e) { e.undo(); }, [](QTextEdit& e) { e.undo(); },
                       [](QPlainTextEdit& e) { e.undo(); });
    });
    connect(actCut_, &QAction::triggered, this, [] {
        ApplyToFocused([](QLineEdit& e) { e.cut(); }, [](QTextEdit& e) { e.cut(); },
                       [](QPlainTextEdit& e) { e.cut(); });
    });
    connect(actCopy_, &QAction::triggered, this, [] {
        ApplyToFocused([](QLineEdit& e) { e.copy(); }, [](QTextEdit& e) { e.copy(); },
                       [](QPlainTextEdit& e) { e.copy(); });
    });
    connect(actPaste_, &QAction::triggered, this, [] {
        ApplyToFocused([](QLineEdit& e) { e.paste(); }, [](QTextEdit& e) { e.paste(); },
                       [](QPlainTextEdit& e) { e.paste(); });
    });
}

void TfrmMain::CreateMenu() {
    QMenuBar* mmMain = menuBar();
    mmMain->setObjectName("mmMain");
    QMenu* mnuFile = mmMain->addMenu(QString::fromUtf8("&Файл"));
    mnuFile->setObjectName("mnuFile");
    mnuFile->addActions({actNew_, actOpen_, actOpenFromWar_});
    mnuFile->addSeparator();
    mnuFile->addActions({actSave_, actSaveAs_, actSaveToWar_});
    mnuFile->addSeparator();
    mnuFile->addAction(actExit_);

    QMenu* mnuEdit = mmMain->addMenu(QString::fromUtf8("&Правка"));
    mnuEdit->setObjectName("mnuEdit");
    mnuEdit->addAction(actUndo_);
    mnuEdit->addSeparator();
    mnuEdit->addActions({actCut_, actCopy_, actPaste_});
    mnuEdit->addSeparator();
    mnuEdit->addAction(actFind_);

    QMenu* mnuServis = mmMain->addMenu(QString::fromUtf8("Сервис"));
    mnuServis->setObjectName("mnuServis");
    mnuServis->addActions({mnuAutoAdd_, actAddAll_, actDelAll_});
    mnuServis->addSeparator();
    mnuServis->addAction(mnuAlphasShow_);
    mnuServis->addSeparator();
    mnuServis->addActions({actResetAll_, actDefAll_});
    mnuServis->addSeparator();
    mnuServis->addAction(actMultiEdit_);

    mnuHelp_ = new QMenu(QString::fromUtf8("Справка"), this);
    mnuHelp_->setObjectName("mnuHelp");
    mnuHelp_->addAction(actHelp_);
    mnuHelp_->addSeparator();
    mnuHelp_->addAction(actAbout_);
    MoveHelpMenuRight();
}

// Qt's menu bar lays every menu out from the left; a second bar in the
// right corner carries Help to the right edge.
void TfrmMain::MoveHelpMenuRight() {
    auto* corner = qobject_cast<QMenuBar*>(menuBar()->cornerWidget(Qt::TopRightCorner));
    if (!corner) {
        corner = new QMenuBar(menuBar());
        corner->setObjectName("mmHelpCorner");
        corner->addMenu(mnuHelp_);
        menuBar()->setCornerWidget(corner, Qt::TopRightCorner);
    }
    corner->adjustSize();
    menuBar()->adjustSize();
    menuBar()->update();
}

void TfrmMain::CreateToolBar() {
    tbMain_ = addToolBar(QStringLiteral("tbMain"));
    tbMain_->setObjectName("tbMain");
    tbMain_->setMovable(false);
    tbMain_->setFloatable(false);
    tbMain_->setIconSize(QSize(16, 16));
    tbMain_->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    const auto add = [this](QAction* action, const char* name) {
        tbMain_->addAction(action);
        tbMain_->widgetForAction(action)->setObjectName(name);
    };
    add(actNew_, "tbNew");
    add(actOpen_, "tbOpen");
    add(actSave_, "tbSave");
    tbMain_->addSeparator();
    add(actFind_, "tbFind");
    tbMain_->addSeparator();
    add(actCut_, "tbCut");
    add(actCopy_, "tbCopy");
    add(actPaste_, "tbPaste");
    add(actUndo_, "tbUndo");
    tbMain_->addSeparator();
    add(actMultiEdit_, "tbMultiEdit");
}

void TfrmMain::CreateClientArea() {
    auto* client = new QWidget(this);
    client->setObjectName("pnlClient");
    setCentralWidget(client);

    tvMain_->setParent(client);
    tvMain_->setObjectName("tvMain");
    tvMain_->setGeometry(0, 0, 273, 377);
    tvMain_->setHeaderHidden(true);
    tvMain_->setColumnCount(1);
    tvMain_->setIndentation(19);
    tvMain_->setIconSize(ilMain_.Size());
    tvMain_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    tvMain_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The selection stays as visible when the tree loses the focus.
    QPalette palette = tvMain_->palette();
    for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    tvMain_->setPalette(palette);
    connect(tvMain_, &QTreeWidget::itemExpanded, this, &TfrmMain::tvMainExpanding);
    connect(tvMain_, &QTreeWidget::currentItemChanged, this, &TfrmMain::tvMainChange);

    gbSettings_ = new QGroupBox(Msg(msgNoAction), client);
    gbSettings_->setObjectName("gbSettings");
    gbSettings_->setGeometry(277, 0, 397, 381);
    gbSettings_->setEnabled(false);

    auto* pnlGreed = new QWidget(client);
    pnlGreed->setObjectName("pnlGreed");
    pnlGreed->setGeometry(517, 8, 151, 113);

    btnAdd_ = new QPushButton(QString::fromUtf8("Добавить"), client);
    btnAdd_->setObjectName("btnAdd");
    btnAdd_->setGeometry(517, 125, 73, 25);
    btnAdd_->setVisible(false);
    connect(btnAdd_, &QPushButton::clicked, this, &TfrmMain::btnAddClick);

    auto* btnBack = new QPushButton(QString::fromUtf8("Назад"), client);
    btnBack->setObjectName("btnBack");
    btnBack->setGeometry(595, 125, 73, 25);
}

void TfrmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (centred_)
        return;
    centred_ = true;
    if (QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
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
    loading_ = new TfrmLoading(settings_);
    ShowStatus(msgStatusPreparing);
    loading_->show();
    bool started = LoadProjectSettings();
    if (started) {
        PreLoad();
        MoveHelpMenuRight();
        started = ReOpen(DefaultConfigPath());
    }
    delete loading_;
    loading_ = nullptr;
    return started;
}

void TfrmMain::ShowStatus(int message) {
    emit StartupStatus(Msg(message));
    if (loading_)
        loading_->SetStatus(Msg(message));
}

bool TfrmMain::LoadProjectSettings() {
    settings_.LoadInterface();
    mnuAutoAdd_->setChecked(settings_.mnuAutoAdd);
    btnAdd_->setVisible(!mnuAutoAdd_->isChecked());
    mnuAlphasShow_->setChecked(settings_.mnuAlphasShow);
    if (!settings_.LocateGameFolder(platform_))
        return false;
    LoadInterfaceLang();
    return true;
}

// Language files come with their own reader; until one is applied the
// built-in texts stand, and the Help menu is put back at the right edge as
// it must be after every change of captions.
void TfrmMain::LoadInterfaceLang() {
    MoveHelpMenuRight();
}

void TfrmMain::PreLoad() {
    const fs::path gameFolder = ToPath(settings_.War3Folder);
    const fs::path defaults = ToPath(settings_.Resolve(settings_.DefaultConfigName));
    settings_.LoadInitialisation();
    if (!settings_.DefCfgLoaded) {
        ShowStatus(msgStatusDefaults);
        const fs::path fix = programFolder_ / "QMKData" / "Fix.wrk";
        const TDefaultKeys built =
            BuildDefaultConfiguration(gameFolder, defaults, fs::exists(fix) ? fix : fs::path());
        if (built.Written) {
            settings_.Language = QString::fromStdString(built.Language);
            settings_.TVName = TProjectSettings::TreeFileFor(settings_.Language);
            ReportSettingsWrite(settings_.WriteDefCfgLoaded());
        }
    }
    if (!settings_.TVLoaded) {
        ShowStatus(msgStatusTree);
        ReportSettingsWrite(settings_.WriteTVName());
        const fs::path treeFile = ToPath(settings_.Resolve(settings_.TVName));
        if (settings_.TVClearBeforeLoad)
            ClearTVNames(treeFile);
        if (FillTVFromDefaults(treeFile, defaults))
            ReportSettingsWrite(settings_.WriteTVLoaded());
    }
    if (!settings_.IconsLoaded) {
        ShowStatus(msgStatusGraphics);
        // Icons already in the folder are kept, so a run that wrote none
        // has still done its step.
        ExtractIcons(gameFolder, defaults, programFolder_ / "Icons", [this](int done, int total) {
            if (loading_)
                loading_->SetProgress(done, total);
        });
        ReportSettingsWrite(settings_.WriteIconsLoaded());
    }
    ShowStatus(msgStatusStarting);
}

void TfrmMain::SaveProjectSettings() {
    settings_.mnuAutoAdd = mnuAutoAdd_->isChecked();
    settings_.mnuAlphasShow = mnuAlphasShow_->isChecked();
    ReportSettingsWrite(settings_.SaveProjectSettings());
}

// A settings file that cannot be written is reported, never a reason to
// keep the user from closing the window or replacing a document.
void TfrmMain::ReportSettingsWrite(bool written) {
    if (written)
        return;
    const QString path = QDir::toNativeSeparators(settings_.IniPath());
    Say(true, msgError, QStringLiteral("Unable to write to %1").arg(path), TMsgIcon::Error);
}

// ---- documents ----

QString TfrmMain::DefaultConfigPath() const {
    return settings_.Resolve(settings_.DefaultConfigName);
}

QString TfrmMain::GameConfigPath() const {
    return FromPath(ToPath(settings_.War3Folder) / kGameConfigName);
}

QString TfrmMain::FolderOf(const QString& path) const {
    return path.isEmpty() ? QString() : QFileInfo(path).absolutePath();
}

bool TfrmMain::ReOpen(const QString& path) {
    auto defaults = TCfgManager::CreateFromFile(ToPath(DefaultConfigPath()));
    if (defaults->FileName().empty()) {
        Say(true, msgError, Msg(msgCannotReadInternal) + settings_.DefaultConfigName,
            TMsgIcon::Error);
        return false;
    }
    auto saved = TCfgManager::CreateFromFile(ToPath(path));
    auto current = TCfgManager::CreateFromFile(ToPath(path));
    if (saved->FileName().empty() || current->FileName().empty()) {
        Say(true, msgError, Msg(msgCannotRead) + path + Msg(msgNotAConfig), TMsgIcon::Error);
        return false;
    }
    // No node may keep pointing into the documents about to go.
    tree_.ResetTvData();
    TryToDestroyCfgMngrs();
    defCfgMngr_ = std::move(defaults);
    savedCfgMngr_ = std::move(saved);
    curCfgMngr_ = std::move(current);
    curFileName_ = path;
    if (!LoadTreeOnce()) {
        TryToDestroyCfgMngrs();
        return false;
    }
    for (QAction* a : {actSave_, actSaveAs_, actSaveToWar_})
        a->setEnabled(true);
    UpdateCaption();
    tvMain_->setCurrentItem(tvMain_->topLevelItem(0));
    tvMainChange();
    return true;
}

bool TfrmMain::LoadTreeOnce() {
    if (tvMain_->topLevelItemCount() > 0)
        return true;
    tvMain_->clear();
    repaint();
    tree_.LoadTVFromFile(ToPath(settings_.Resolve(settings_.TVName)));
    if (tvMain_->topLevelItemCount() == 0) {
        Say(true, msgError, Msg(msgCannotLoadTree) + settings_.TVName + Msg(msgTreeInProgramFolder),
            TMsgIcon::Error);
        return false;
    }
    tree_.CheckUpBrunchIcons(tvMain_->topLevelItem(0));
    return true;
}

void TfrmMain::TryToDestroyCfgMngrs() {
    savedCfgMngr_.reset();
    defCfgMngr_.reset();
    curCfgMngr_.reset();
}

bool TfrmMain::IsUntitled() const {
    return FileNamePart(curFileName_) == FileNamePart(settings_.DefaultConfigName);
}

void TfrmMain::UpdateCaption() {
    if (IsUntitled())
        setWindowTitle(QStringLiteral("Quillmark:") + Msg(msgUntitled));
    else
        setWindowTitle(QStringLiteral("Quillmark: (") + QFileInfo(curFileName_).fileName() + ")");
}

bool TfrmMain::HasUnsavedChanges() const {
    return curCfgMngr_ && savedCfgMngr_ && !curCfgMngr_->SameAs(*savedCfgMngr_);
}

bool TfrmMain::SaveRequest() {
    if (!curCfgMngr_ || !defCfgMngr_)
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
    TryToDestroyCfgMngrs();
    return true;
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    event->setAccepted(FormCloseQuery());
}

// ---- commands ----

void TfrmMain::actNewExecute() {
    if (SaveRequest())
        ReOpen(DefaultConfigPath());
}

void TfrmMain::actOpenExecute() {
    if (!SaveRequest())
        return;
    const QString chosen =
        platform_.OpenFileName(this, FolderOf(curFileName_), Msg(msgConfigFilter));
    if (!chosen.isEmpty())
        ReOpen(chosen);
}

void TfrmMain::actOpenFromWarExecute() {
    const QString path = GameConfigPath();
    if (QFileInfo(path).isFile()) {
        if (SaveRequest())
            ReOpen(path);
        return;
    }
    if (Say(false, msgError, Msg(msgNoWarConfig), TMsgIcon::Question, TMsgButtons::YesNo) ==
        TMsgAnswer::Yes)
        actSaveToWarExecute();
}

bool TfrmMain::WriteDocument(const QString& path) {
    return curCfgMngr_ && !path.isEmpty() && curCfgMngr_->SaveToFile(ToPath(path), false);
}

bool TfrmMain::actSaveExecute() {
    if (curFileName_.isEmpty() || settings_.DefaultConfigName.isEmpty())
        return false;
    // The default configuration is never overwritten by Save.
    if (curFileName_ == DefaultConfigPath())
        return actSaveAsExecute();
    if (!WriteDocument(curFileName_)) {
        Say(true, msgError, Msg(msgCannotSave), TMsgIcon::Error);
        return false;
    }
    Say(true, msgInformation, Msg(msgConfigSavedAs) + curFileName_, TMsgIcon::Information);
    ReOpen(curFileName_);
    return true;
}

bool TfrmMain::actSaveAsExecute() {
    QString chosen = platform_.SaveFileName(this, FolderOf(curFileName_), Msg(msgConfigFilter));
    if (chosen.isEmpty())
        return false;
    if (QFileInfo(chosen).suffix().isEmpty())
        chosen += QStringLiteral(".txt");
    if (QFileInfo::exists(chosen) &&
        Say(true, msgQuestion,
            QString::fromUtf8("Файл %1 уже существует.\r\nЗаменить его?")
                .arg(QDir::toNativeSeparators(chosen)),
            TMsgIcon::Question, TMsgButtons::YesNo) != TMsgAnswer::Yes)
        return false;
    if (!WriteDocument(chosen)) {
        Say(true, msgError, Msg(msgCannotSaveAs), TMsgIcon::Error);
        return false;
    }
    Say(true, msgInformation, Msg(msgFileSavedAs) + chosen, TMsgIcon::Information);
    curFileName_ = chosen;
    ReOpen(curFileName_);
    return true;
}

bool TfrmMain::actSaveToWarExecute() {
    const QString path = GameConfigPath();
    if (Say(false, msgQuestion, Msg(msgSaveToWarQuestion) + QDir::toNativeSeparators(path) + "?",
            TMsgIcon::Question, TMsgButtons::YesNo) != TMsgAnswer::Yes)
        return false;
    curFileName_ = path;
    return actSaveExecute();
}

void TfrmMain::actExitExecute() {
    close();
}

void TfrmMain::actResetAllExecute() {
    ReOpen(curFileName_);
}

void TfrmMain::actDefAllExecute() {
    ReOpen(DefaultConfigPath());
}

bool TfrmMain::AddDefaultRecord(QTreeWidgetItem* item) {
    TTVNode* node = TTVNode::From(item);
    if (!node || !curCfgMngr_ || !defCfgMngr_ || tree_.AssignNodeData(node, *curCfgMngr_) != 1)
        return false;
    const TBindRec* defaults = defCfgMngr_->FindRecord(node->Data.ID);
    if (!defaults)
        return false;
    TBindRec& added = curCfgMngr_->AddRecord(node->Data.ID);
    added = *defaults;
    node->Data.Record = &added;
    return true;
}

void TfrmMain::actAddAllExecute() {
    int added = 0;
    tree_.ForEachNode([&](TTVNode& node) { added += AddDefaultRecord(&node) ? 1 : 0; });
    Say(true, msgInformation, Msg(msgRecordsAdded) + QString::number(added) + ".",
        TMsgIcon::Information);
}

void TfrmMain::actDelAllExecute() {
    if (Say(false, msgDangerous, Msg(msgDeleteAllQuestion), TMsgIcon::Question,
            TMsgButtons::YesNo) != TMsgAnswer::Yes)
        return;
    if (!curCfgMngr_)
        return;
    tree_.ResetTvData();
    curCfgMngr_->Clear();
    tvMainChange();
    Say(true, msgInformation, Msg(msgAllDeleted), TMsgIcon::Information);
}

void TfrmMain::mnuAutoAddClick() {
    btnAdd_->setVisible(!mnuAutoAdd_->isChecked());
}

void TfrmMain::btnAddClick() {
    AddDefaultRecord(tvMain_->currentItem());
}

// ---- the tree ----

void TfrmMain::tvMainExpanding(QTreeWidgetItem* item) {
    if (item && item->childCount() > 0)
        tree_.CheckUpBrunchIcons(item->child(0));
}

// Binds the selected action to the working copy, adding its default record
// when auto-add is on and the document has none.
void TfrmMain::tvMainChange() {
    QTreeWidgetItem* item = tvMain_->currentItem();
    if (!item || !curCfgMngr_)
        return;
    if (tree_.AssignNodeData(item, *curCfgMngr_) == 1 && mnuAutoAdd_->isChecked())
        AddDefaultRecord(item);
}

} // namespace qm
