// Any bytes as a language file, applied to the message table and to a
// window with the kinds of control a language file reaches. Applying a file
// twice changes nothing more than applying it once, and a row the file gives
// no text keeps its own.

#include "FuzzInput.h"
#include "FuzzQt.h"
#include "config/uIniFile.h"
#include "lang/GlobalConst.h"
#include "lang/MultiLang.h"

#include <QAction>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>

#include <array>
#include <cstdlib>

namespace {

template <typename T> T* Named(QWidget* parent, const char* name) {
    auto* object = new T(parent);
    object->setObjectName(QLatin1String(name));
    return object;
}

QMainWindow* MakeWindow() {
    auto* main = new QMainWindow;
    main->setObjectName("frmMain");
    QMenu* mnuFile = main->menuBar()->addMenu("File");
    mnuFile->setObjectName("mnuFile");
    mnuFile->addAction("Open")->setObjectName("actOpen");
    auto* pcTips = Named<QTabWidget>(main, "pcTips");
    main->setCentralWidget(pcTips);
    auto* tsTip = Named<QWidget>(nullptr, "tsTip");
    pcTips->addTab(tsTip, "Tip");
    auto* gbSettings = Named<QGroupBox>(tsTip, "gbSettings");
    Named<QLabel>(gbSettings, "lblHotkey");
    Named<QPushButton>(gbSettings, "btnAdd");
    Named<QLineEdit>(gbSettings, "txtHotKey");
    auto* dlgTemplate = Named<QDialog>(main, "dlgTemplate");
    qm::LangSetOwnedByParent(dlgTemplate);
    Named<QLabel>(dlgTemplate, "lblTipColor");
    return main;
}

std::array<QString, qm::kMessageCount> Table() {
    std::array<QString, qm::kMessageCount> table;
    for (int n = 0; n < qm::kMessageCount; ++n)
        table[n] = qm::Msg(n);
    return table;
}

// Every text the window and its dialog show.
QStringList Shown(QMainWindow* window) {
    QStringList texts;
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets << window;
    for (QWidget* widget : widgets) {
        texts << widget->windowTitle() << widget->toolTip() << widget->statusTip();
        if (auto* label = qobject_cast<QLabel*>(widget))
            texts << label->text();
        if (auto* button = qobject_cast<QPushButton*>(widget))
            texts << button->text();
        if (auto* box = qobject_cast<QGroupBox*>(widget))
            texts << box->title();
        if (auto* edit = qobject_cast<QLineEdit*>(widget))
            texts << edit->text();
        if (auto* tabs = qobject_cast<QTabWidget*>(widget))
            texts << tabs->tabText(0);
        if (auto* menu = qobject_cast<QMenu*>(widget))
            texts << menu->title();
        for (QAction* action : widget->actions())
            texts << action->text() << action->toolTip() << action->statusTip();
    }
    return texts;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qm::fuzz::StartApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static const qm::fuzz::TInputFile input("lang.qlg");
    static const auto builtIn = (qm::ResetMessages(), Table());
    qm::fuzz::WriteInput(input.path(), data, size);
    const qm::TIniFile file(input.path());

    qm::ResetMessages();
    qm::LangApplyStrings(file);
    const auto once = Table();
    qm::LangApplyStrings(file);
    if (Table() != once)
        std::abort();
    for (int n = 0; n < qm::kMessageCount; ++n) {
        const std::string key = "Str" + std::to_string(n);
        if (file.ReadString("STRINGS", key, "").empty() && once[n] != builtIn[n])
            std::abort();
    }

    // One window for the whole run: whatever an earlier file set, applying
    // this one twice must show the same.
    static QMainWindow* const window = MakeWindow();
    static QDialog* const dialog = window->findChild<QDialog*>("dlgTemplate");
    qm::LangApplyForm(window, file);
    qm::LangApplyForm(dialog, file);
    const QStringList first = Shown(window);
    qm::LangApplyForm(window, file);
    qm::LangApplyForm(dialog, file);
    if (Shown(window) != first)
        std::abort();
    return 0;
}
