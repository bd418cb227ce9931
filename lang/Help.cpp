#include "lang/Help.h"

#include "lang/StoHtmlHelp.h"
#include "platform/TPlatform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QListWidget>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace qm {
namespace {

// Contents of a few pages; anything near this is not a contents file.
constexpr qint64 kMaxContentsSize = 1 << 20;
const QString kFallbackBook = QStringLiteral("English");

// The desktop's icon by its freedesktop name, else the style's own.
QToolButton* MakeButton(QWidget* parent, const char* name, const QString& caption,
                        const char* themeIcon, QStyle::StandardPixmap icon) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(caption);
    button->setIcon(
        QIcon::fromTheme(QLatin1String(themeIcon), parent->style()->standardIcon(icon)));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    return button;
}

bool IsPlainFileName(const QString& name) {
    return !name.isEmpty() && !name.startsWith('.') && !name.contains('/') &&
           !name.contains('\\') && !name.contains(':');
}

// The name of a file without its folder and extension, in either path form.
QString BaseName(const QString& path) {
    const QString file = path.mid(std::max(path.lastIndexOf('/'), path.lastIndexOf('\\')) + 1);
    const qsizetype dot = file.lastIndexOf('.');
    return dot > 0 ? file.left(dot) : file;
}

} // namespace

TfrmHelp::TfrmHelp(QWidget* parent)
    : QWidget(parent, Qt::Window), btnBack(MakeButton(this, "btnBack", QString::fromUtf8("Назад"),
                                                      "go-previous", QStyle::SP_ArrowBack)),
      btnForward(MakeButton(this, "btnForward", QString::fromUtf8("Вперёд"), "go-next",
                            QStyle::SP_ArrowForward)),
      btnHome(MakeButton(this, "btnHome", QString::fromUtf8("Начало"), "go-home",
                         QStyle::SP_DirHomeIcon)),
      lbContents(new QListWidget), reHelp(new QTextBrowser) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QString::fromUtf8("Справка"));
    resize(820, 560);

    lbContents->setObjectName(QStringLiteral("lbContents"));
    reHelp->setObjectName(QStringLiteral("reHelp"));
    reHelp->setOpenExternalLinks(true);
    auto* spHelp = new QSplitter(this);
    spHelp->setObjectName(QStringLiteral("spHelp"));
    spHelp->addWidget(lbContents);
    spHelp->addWidget(reHelp);
    spHelp->setStretchFactor(1, 1);
    spHelp->setSizes({200, 620});

    auto* buttons = new QHBoxLayout;
    for (QToolButton* button : {btnBack, btnForward, btnHome})
        buttons->addWidget(button);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(buttons);
    layout->addWidget(spHelp, 1);

    btnBack->setEnabled(false);
    btnForward->setEnabled(false);
    connect(btnBack, &QToolButton::clicked, reHelp, &QTextBrowser::backward);
    connect(btnForward, &QToolButton::clicked, reHelp, &QTextBrowser::forward);
    connect(btnHome, &QToolButton::clicked, this, &TfrmHelp::btnHomeClick);
    connect(reHelp, &QTextBrowser::backwardAvailable, btnBack, &QToolButton::setEnabled);
    connect(reHelp, &QTextBrowser::forwardAvailable, btnForward, &QToolButton::setEnabled);
    connect(reHelp, &QTextBrowser::sourceChanged, this, &TfrmHelp::reHelpSourceChanged);
    connect(lbContents, &QListWidget::currentRowChanged, this, &TfrmHelp::ShowPage);
    // Closed as any viewer window is: Escape, Ctrl+W and the system's own keys.
    auto* close = new QShortcut(QKeySequence::Close, this);
    QList<QKeySequence> keys = close->keys();
    for (const QKeySequence& more :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)})
        if (!keys.contains(more)) // a key given twice would be ambiguous
            keys << more;
    close->setKeys(keys);
    connect(close, &QShortcut::activated, this, &QWidget::close);
}

QString TfrmHelp::BookFolder(const QString& programFolder, const QString& langFileName) {
    const QDir books(QDir(programFolder).filePath(QStringLiteral("QMKData/help")));
    const QString own = books.filePath(BaseName(langFileName));
    return QFileInfo::exists(QDir(own).filePath(kContentsFile)) ? own
                                                                : books.filePath(kFallbackBook);
}

QList<TfrmHelp::TPage> TfrmHelp::ReadContents(const QString& folder) {
    QList<TPage> pages;
    QFile file(QDir(folder).filePath(kContentsFile));
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxContentsSize)
        return pages;
    for (const QString& line : QString::fromUtf8(file.readAll()).split('\n')) {
        const qsizetype tab = line.indexOf('\t');
        const QString name = line.left(tab).trimmed();
        const QString title = tab < 0 ? QString() : line.mid(tab + 1).trimmed();
        if (IsPlainFileName(name))
            pages.append({name, title.isEmpty() ? name : title});
    }
    return pages;
}

bool TfrmHelp::OpenBook(const QString& folder, const QString& topic) {
    QList<TPage> pages = ReadContents(folder);
    if (pages.isEmpty())
        return false;
    folder_ = folder;
    pages_ = std::move(pages);
    {
        const QSignalBlocker quiet(lbContents);
        lbContents->clear();
        for (const TPage& page : pages_)
            lbContents->addItem(page.Title);
    }
    reHelp->clearHistory();
    reHelp->setSearchPaths({folder_});
    const QString file = TopicPage(topic);
    ShowPage(std::max(0, PageIndex([&](const TPage& page) {
                          return page.Title == topic ||
                                 page.File.compare(file, Qt::CaseInsensitive) == 0;
                      })));
    return true;
}

QString TfrmHelp::CurrentPage() const {
    return QFileInfo(reHelp->source().toLocalFile()).fileName();
}

void TfrmHelp::btnHomeClick() {
    ShowPage(0);
}

int TfrmHelp::PageIndex(const std::function<bool(const TPage&)>& matches) const {
    for (int i = 0; i < pages_.size(); ++i)
        if (matches(pages_[i]))
            return i;
    return -1;
}

void TfrmHelp::ShowPage(int index) {
    if (index >= 0 && index < pages_.size())
        reHelp->setSource(QUrl::fromLocalFile(QDir(folder_).filePath(pages_[index].File)));
}

void TfrmHelp::reHelpSourceChanged(const QUrl& source) {
    const QString name = QFileInfo(source.toLocalFile()).fileName();
    const QSignalBlocker quiet(lbContents);
    lbContents->setCurrentRow(PageIndex(
        [&](const TPage& page) { return page.File.compare(name, Qt::CaseInsensitive) == 0; }));
}

TfrmHelp::TWhere TfrmHelp::ShowTopic(TPlatform& platform, QWidget& owner,
                                     const QString& programFolder, const QString& langFileName,
                                     const QString& topic) {
    TStoHtmlHelpViewer viewer(programFolder);
    viewer.SetWindowHelpFile(TStoHtmlHelpViewer::kMainWindowHelpFile);
    const auto call = viewer.DisplayTopic(topic);
    if (call && platform.HtmlHelp(&owner, static_cast<int>(call->Command), call->File))
        return TWhere::HtmlHelp;
    return OpenBook(BookFolder(programFolder, langFileName), topic) ? TWhere::Here
                                                                    : TWhere::Nowhere;
}

} // namespace qm
