#pragma once
// The help viewer that hands help requests to HTML Help: for each request of
// the help system, the answer, or the one HTML Help call it makes (command,
// file, topic or keyword or context number). Making the call — HtmlHelpA of
// "HHCtrl.ocx" with the help manager's owner window — is the platform
// layer's, on Windows only; a request that makes no call does nothing.

#include <QString>
#include <QStringList>

#include <optional>

namespace qm {

// HTML Help's command numbers (HH_DISPLAY_TOPIC and so on).
enum class THHCommand : int {
    DisplayTopic = 0,
    DisplayToc = 1,
    DisplayIndex = 2,
    HelpContext = 15,
    CloseAll = 18,
};

struct THtmlHelpCall {
    THHCommand Command = THHCommand::CloseAll;
    // The help file; for a topic "file::/topic"; empty for CloseAll.
    QString File;
    // DisplayIndex: the keyword.
    QString Keyword;
    // HelpContext: the context number.
    int Context = 0;

    bool operator==(const THtmlHelpCall&) const = default;
};

// A name is a .chm file when the text from its last "." on is ".chm" in any case.
bool IsChmFile(const QString& name);
// A topic's page: ".htm" added unless its extension is ".htm" or ".html".
QString TopicPage(const QString& topic);

class TStoHtmlHelpViewer {
  public:
    static inline const QString kViewerName = QStringLiteral("StoHtmlHelp");
    static inline const QString kMainWindowHelpFile = QStringLiteral("QMKHelp.chm");
    static inline const QString kApplicationHelpFile = QStringLiteral("QMKhelp.chm");

    // Bare help file names are looked for in `programFolder`.
    explicit TStoHtmlHelpViewer(QString programFolder);

    // The help manager's current help file; empty: the application's.
    void SetManagerHelpFile(const QString& name);
    // The active window's help file; empty: the application-wide one.
    void SetWindowHelpFile(const QString& name);
    // The file requests go to, in the program folder when it names none.
    QString HelpFile() const;

    const QString& GetViewerName() const { return kViewerName; }
    int UnderstandsKeyword(const QString& keyword) const;
    // "StoHtmlHelp: keyword".
    QStringList GetHelpStrings(const QString& keyword) const;
    bool CanShowTableOfContents() const { return true; }
    std::optional<THtmlHelpCall> ShowTableOfContents() const;
    // `helpString` as GetHelpStrings gives it: the keyword after the first ":".
    std::optional<THtmlHelpCall> ShowHelp(const QString& helpString) const;
    bool UnderstandsTopic(const QString& topic) const;
    std::optional<THtmlHelpCall> DisplayTopic(const QString& topic) const;
    bool UnderstandsContext(int contextId, const QString& helpFileName) const;
    // On `helpFileName`, or the help file when it is empty.
    std::optional<THtmlHelpCall> DisplayHelpByContext(int contextId,
                                                      const QString& helpFileName) const;

    void NotifyID(int viewerId) { viewerId_ = viewerId; }
    int ViewerID() const { return viewerId_; }

    // The selector: the index of the first keyword string that is ours
    // (its text before the first ":" is the viewer name), else 0.
    int SelectKeyword(const QStringList& keywords) const;
    // The index of the contents entry that names this viewer, else -1.
    int TableOfContents(const QStringList& contents) const;

    THtmlHelpCall SoftShutDown() const;
    // Closes every help window and drops the help manager's file.
    THtmlHelpCall ShutDown();

  private:
    QString InProgramFolder(const QString& name) const;
    // A call on the help file, when it is a .chm file.
    std::optional<THtmlHelpCall> OnHelpFile(THHCommand command, const QString& topic = {}) const;

    QString programFolder_;
    QString managerHelpFile_;
    QString windowHelpFile_;
    int viewerId_ = 0;
};

} // namespace qm
