#include "lang/StoHtmlHelp.h"

#include <QDir>

#include <algorithm>

namespace qm {
namespace {

bool IsBlank(QChar c) {
    return c.unicode() <= 32;
}

QString TrimBlanks(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

bool IsPathDelimiter(QChar c) {
    return c == '/' || c == '\\' || c == ':';
}

// The extension of the last path element, with its "."; empty when none.
QString Extension(const QString& name) {
    for (qsizetype i = name.size() - 1; i >= 0 && !IsPathDelimiter(name[i]); --i)
        if (name[i] == '.')
            return name.mid(i);
    return QString();
}

} // namespace

bool IsChmFile(const QString& name) {
    const qsizetype dot = name.lastIndexOf('.');
    return dot >= 0 && name.mid(dot).compare(QLatin1String(".chm"), Qt::CaseInsensitive) == 0;
}

QString TopicPage(const QString& topic) {
    const QString extension = Extension(topic).toLower();
    return extension == QLatin1String(".htm") || extension == QLatin1String(".html")
               ? topic
               : topic + QLatin1String(".htm");
}

TStoHtmlHelpViewer::TStoHtmlHelpViewer(QString programFolder)
    : programFolder_(std::move(programFolder)) {}

void TStoHtmlHelpViewer::SetManagerHelpFile(const QString& name) {
    managerHelpFile_ = name;
}

void TStoHtmlHelpViewer::SetWindowHelpFile(const QString& name) {
    windowHelpFile_ = name;
}

QString TStoHtmlHelpViewer::InProgramFolder(const QString& name) const {
    return std::any_of(name.begin(), name.end(), IsPathDelimiter)
               ? name
               : QDir(programFolder_).filePath(name);
}

QString TStoHtmlHelpViewer::HelpFile() const {
    if (!managerHelpFile_.isEmpty())
        return InProgramFolder(managerHelpFile_);
    return InProgramFolder(windowHelpFile_.isEmpty() ? kApplicationHelpFile : windowHelpFile_);
}

std::optional<THtmlHelpCall> TStoHtmlHelpViewer::OnHelpFile(THHCommand command,
                                                            const QString& topic) const {
    const QString file = HelpFile();
    if (!IsChmFile(file))
        return std::nullopt;
    return THtmlHelpCall{command, topic.isEmpty() ? file : file + "::/" + topic, {}, 0};
}

int TStoHtmlHelpViewer::UnderstandsKeyword(const QString&) const {
    return IsChmFile(HelpFile()) ? 1 : 0;
}

QStringList TStoHtmlHelpViewer::GetHelpStrings(const QString& keyword) const {
    return {kViewerName + QLatin1String(": ") + keyword};
}

std::optional<THtmlHelpCall> TStoHtmlHelpViewer::ShowTableOfContents() const {
    return OnHelpFile(THHCommand::DisplayToc);
}

std::optional<THtmlHelpCall> TStoHtmlHelpViewer::ShowHelp(const QString& helpString) const {
    auto call = OnHelpFile(THHCommand::DisplayIndex);
    if (call)
        call->Keyword = TrimBlanks(helpString.mid(helpString.indexOf(':') + 1));
    return call;
}

bool TStoHtmlHelpViewer::UnderstandsTopic(const QString&) const {
    return IsChmFile(HelpFile());
}

std::optional<THtmlHelpCall> TStoHtmlHelpViewer::DisplayTopic(const QString& topic) const {
    return OnHelpFile(THHCommand::DisplayTopic, TopicPage(topic));
}

bool TStoHtmlHelpViewer::UnderstandsContext(int, const QString& helpFileName) const {
    return IsChmFile(helpFileName);
}

std::optional<THtmlHelpCall>
TStoHtmlHelpViewer::DisplayHelpByContext(int contextId, const QString& helpFileName) const {
    const QString file = helpFileName.isEmpty() ? HelpFile() : InProgramFolder(helpFileName);
    if (!IsChmFile(file))
        return std::nullopt;
    return THtmlHelpCall{THHCommand::HelpContext, file, {}, contextId};
}

int TStoHtmlHelpViewer::SelectKeyword(const QStringList& keywords) const {
    for (qsizetype i = 0; i < keywords.size(); ++i) {
        const qsizetype colon = keywords[i].indexOf(':');
        if ((colon < 0 ? keywords[i] : keywords[i].left(colon)) == kViewerName)
            return static_cast<int>(i);
    }
    return 0;
}

int TStoHtmlHelpViewer::TableOfContents(const QStringList& contents) const {
    return static_cast<int>(contents.indexOf(kViewerName));
}

THtmlHelpCall TStoHtmlHelpViewer::SoftShutDown() const {
    return THtmlHelpCall{THHCommand::CloseAll, {}, {}, 0};
}

THtmlHelpCall TStoHtmlHelpViewer::ShutDown() {
    managerHelpFile_.clear();
    return SoftShutDown();
}

} // namespace qm
