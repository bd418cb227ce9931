#pragma once
// The platform for tests: every question is answered from a script and
// recorded. A question without a scripted answer, an answer the box does not
// offer, or an answer left unused when the test ends fails the test at once
// instead of waiting for a person.
//
//   TScriptedPlatform platform;
//   platform.Answer(TMsgAnswer::Yes).PickFile(path);
//   ... run the command ...
//   EXPECT_EQ(platform.asked.at(0).text, Msg(msgFileChanged));

#include "platform/TPlatform.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <deque>
#include <vector>

namespace qm::test {

struct TAskedQuestion {
    QWidget* owner = nullptr;
    QString caption;
    QString text;
    TMsgIcon icon = TMsgIcon::None;
    TMsgButtons buttons = TMsgButtons::Ok;
    TMsgAnswer answer = TMsgAnswer::Ok; // what the script gave
};

struct TFileQuestion {
    QWidget* owner = nullptr;
    bool save = false; // Save dialog rather than Open
    QString folder;
    QString filter;
    QString picked; // empty: cancelled
};

inline bool Offers(TMsgButtons buttons, TMsgAnswer answer) {
    switch (buttons) {
    case TMsgButtons::Ok:
        return answer == TMsgAnswer::Ok;
    case TMsgButtons::OkCancel:
        return answer == TMsgAnswer::Ok || answer == TMsgAnswer::Cancel;
    case TMsgButtons::YesNo:
        return answer == TMsgAnswer::Yes || answer == TMsgAnswer::No;
    case TMsgButtons::YesNoCancel:
        return answer != TMsgAnswer::Ok;
    }
    return false;
}

// The answer a closed box gives: what a person escaping from it would get.
inline TMsgAnswer EscapeAnswer(TMsgButtons buttons) {
    switch (buttons) {
    case TMsgButtons::Ok:
        return TMsgAnswer::Ok;
    case TMsgButtons::YesNo:
        return TMsgAnswer::No;
    default:
        return TMsgAnswer::Cancel;
    }
}

class TScriptedPlatform : public TPlatform {
  public:
    TScriptedPlatform() = default;
    TScriptedPlatform(const TScriptedPlatform&) = delete;
    TScriptedPlatform& operator=(const TScriptedPlatform&) = delete;
    ~TScriptedPlatform() override {
        if (!answers_.empty())
            ADD_FAILURE() << answers_.size() << " scripted message-box answer(s) never asked for";
        if (!files_.empty())
            ADD_FAILURE() << files_.size() << " scripted file choice(s) never asked for";
        if (!colors_.empty())
            ADD_FAILURE() << colors_.size() << " scripted colour choice(s) never asked for";
    }

    // Queues the answer to the next message box.
    TScriptedPlatform& Answer(TMsgAnswer answer) {
        answers_.push_back(answer);
        return *this;
    }
    // Queues the file chosen in the next open or save dialog.
    TScriptedPlatform& PickFile(const QString& path) {
        files_.push_back(path);
        return *this;
    }
    // Queues a cancelled file dialog.
    TScriptedPlatform& CancelFile() { return PickFile(QString()); }
    // Queues the colour chosen in the next colour dialog, or its cancelling.
    TScriptedPlatform& PickColor(std::optional<QColor> color) {
        colors_.push_back(color);
        return *this;
    }

    // Every message box shown, in order.
    std::vector<TAskedQuestion> asked;
    // Every file dialog shown, in order.
    std::vector<TFileQuestion> fileDialogs;
    // The colour each colour dialog opened on, in order.
    std::vector<QColor> colorDialogs;

    bool lockResult = true; // what AcquireSingleCopy returns
    int lockCalls = 0;
    TLockProblem lockProblem; // what SingleCopyProblem returns
    QString registryFolder;   // what RegistryGameFolder returns
    int registryCalls = 0;
    QString documentsFolder;     // what DocumentsFolder returns
    bool htmlHelpResult = false; // what HtmlHelp returns: no HTML Help
    QStringList htmlHelpFiles;   // the file of every HtmlHelp request

    // True when every scripted answer and file has been used.
    bool AllUsed() const { return answers_.empty() && files_.empty() && colors_.empty(); }
    // Forgets what is still queued (for a test that means to leave it).
    void DropUnused() {
        answers_.clear();
        files_.clear();
        colors_.clear();
    }

    TMsgAnswer MessageBox(QWidget* owner, const QString& caption, const QString& text,
                          TMsgIcon icon, TMsgButtons buttons) override {
        TAskedQuestion q{owner, caption, text, icon, buttons, EscapeAnswer(buttons)};
        if (answers_.empty()) {
            ADD_FAILURE() << "unexpected message box: caption \"" << caption.toStdString()
                          << "\", text \"" << text.toStdString() << "\"";
        } else {
            q.answer = answers_.front();
            answers_.pop_front();
            if (!Offers(buttons, q.answer)) {
                ADD_FAILURE() << "scripted answer " << static_cast<int>(q.answer)
                              << " is not a button of the box \"" << text.toStdString() << "\"";
                q.answer = EscapeAnswer(buttons);
            }
        }
        asked.push_back(q);
        return q.answer;
    }

    QString OpenFileName(QWidget* owner, const QString& folder, const QString& filter) override {
        return NextFile(owner, false, folder, filter);
    }
    QString SaveFileName(QWidget* owner, const QString& folder, const QString& filter) override {
        return NextFile(owner, true, folder, filter);
    }

    bool AcquireSingleCopy() override {
        ++lockCalls;
        return lockResult;
    }
    TLockProblem SingleCopyProblem() const override { return lockProblem; }
    QString RegistryGameFolder() override {
        ++registryCalls;
        return registryFolder;
    }
    QString DocumentsFolder(const QString&) override { return documentsFolder; }
    bool HtmlHelp(QWidget*, int, const QString& file) override {
        htmlHelpFiles << file;
        return htmlHelpResult;
    }

    std::optional<QColor> ChooseColor(QWidget*, const QColor& initial) override {
        colorDialogs.push_back(initial);
        if (colors_.empty()) {
            ADD_FAILURE() << "unexpected colour dialog";
            return std::nullopt;
        }
        const std::optional<QColor> color = colors_.front();
        colors_.pop_front();
        return color;
    }

  private:
    QString NextFile(QWidget* owner, bool save, const QString& folder, const QString& filter) {
        TFileQuestion q{owner, save, folder, filter, QString()};
        if (files_.empty()) {
            ADD_FAILURE() << "unexpected " << (save ? "save" : "open") << " dialog, filter \""
                          << filter.toStdString() << "\"";
        } else {
            q.picked = files_.front();
            files_.pop_front();
        }
        fileDialogs.push_back(q);
        return q.picked;
    }

    std::deque<TMsgAnswer> answers_;
    std::deque<QString> files_;
    std::deque<std::optional<QColor>> colors_;
};

} // namespace qm::test
