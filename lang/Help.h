#pragma once
// The program's own help book: the HTML pages of one language's folder,
// QMKData/help/<language>/, with back, forward, home and a contents list.
// There is no HTML Help engine outside Windows, so this window shows help
// wherever no compiled help file can.
//
// A book folder holds its pages and "contents.txt" (UTF-8), one page a
// line: the page's file name, a tab, its title in the contents list. The
// first page is the introduction and the home page. Only plain file names
// in the folder itself are taken.

#include <QList>
#include <QWidget>

#include <functional>

class QListWidget;
class QTextBrowser;
class QToolButton;
class QUrl;

namespace qm {
class TPlatform;
}

namespace qm {

class TfrmHelp : public QWidget {
    Q_OBJECT

  public:
    static inline const QString kContentsFile = QStringLiteral("contents.txt");

    explicit TfrmHelp(QWidget* parent = nullptr);

    // The book of a language file's language ("QMKData\English.qlg" gives
    // QMKData/help/English), or the English book when there is none for it.
    static QString BookFolder(const QString& programFolder, const QString& langFileName);

    // Reads the book's contents and shows `topic`: a page's title, or its
    // file name with ".htm" added as for HTML Help topics; the introduction
    // when the topic is empty or unknown. False, with nothing changed, when
    // the folder has no contents.
    bool OpenBook(const QString& folder, const QString& topic = QString());
    // The file name of the page shown.
    QString CurrentPage() const;

    // A help request: to HTML Help where the system has it and the compiled
    // help file lies in the program folder; otherwise the language's book
    // opens here at the topic (shown by the caller). False when neither.
    enum class TWhere { HtmlHelp, Here, Nowhere };
    TWhere ShowTopic(TPlatform& platform, QWidget& owner, const QString& programFolder,
                     const QString& langFileName, const QString& topic);

    QToolButton* const btnBack;
    QToolButton* const btnForward;
    QToolButton* const btnHome;
    QListWidget* const lbContents;
    QTextBrowser* const reHelp;

  public slots:
    void btnHomeClick();

  private:
    struct TPage {
        QString File;
        QString Title;
    };

    static QList<TPage> ReadContents(const QString& folder);
    // The first page that matches, or -1.
    int PageIndex(const std::function<bool(const TPage&)>& matches) const;
    void ShowPage(int index);
    void reHelpSourceChanged(const QUrl& source);

    QString folder_;
    QList<TPage> pages_;
};

} // namespace qm
