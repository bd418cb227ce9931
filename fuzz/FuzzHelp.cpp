// The help requests over any help file names, topics, keywords and context
// numbers. The input is a context number of four bytes, then the program
// folder, the help manager's file, the window's file, a topic and a keyword,
// separated by zero bytes.

#include "lang/StoHtmlHelp.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

namespace {

using qm::THHCommand;
using qm::TStoHtmlHelpViewer;

bool EndsWith(const QString& text, const char* end) {
    return text.endsWith(QLatin1String(end), Qt::CaseInsensitive);
}

void Expect(bool holds) {
    if (!holds)
        std::abort();
}

// Trimmed as the program trims: codes 0 to 32 off both ends.
QString Trimmed(const QString& text) {
    qsizetype begin = 0, end = text.size();
    while (begin < end && text[begin].unicode() <= 32)
        ++begin;
    while (end > begin && text[end - 1].unicode() <= 32)
        --end;
    return text.mid(begin, end - begin);
}

QString Take(std::string_view& in) {
    const size_t end = std::min(in.find('\0'), in.size());
    const QString piece = QString::fromUtf8(in.data(), static_cast<qsizetype>(end));
    in.remove_prefix(std::min(end + 1, in.size()));
    return piece;
}

// A call on the help file: the file, or the file and "::/" and a page.
void CheckCall(const std::optional<qm::THtmlHelpCall>& call, THHCommand command,
               const QString& file, const QString& page = {}) {
    Expect(call.has_value() == qm::IsChmFile(file));
    if (!call)
        return;
    Expect(call->Command == command);
    Expect(call->File == (page.isEmpty() ? file : file + "::/" + page));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    FuzzedDataProvider provider(data, size);
    const int context = provider.ConsumeIntegral<int>();
    const std::string rest = provider.ConsumeRemainingBytesAsString();
    std::string_view in(rest);
    TStoHtmlHelpViewer viewer(Take(in));
    const QString managerFile = Take(in);
    const QString windowFile = Take(in);
    const QString topic = Take(in);
    const QString keyword = Take(in);
    viewer.SetWindowHelpFile(windowFile);
    viewer.SetManagerHelpFile(managerFile);

    for (const QString& name : {managerFile, windowFile, topic})
        Expect(qm::IsChmFile(name) == EndsWith(name, ".chm"));
    const QString page = qm::TopicPage(topic);
    Expect(EndsWith(page, ".htm") || EndsWith(page, ".html"));
    Expect(page == topic || page == topic + ".htm");

    const QString file = viewer.HelpFile();
    Expect(file.endsWith(managerFile.isEmpty() ? windowFile.isEmpty()
                                                     ? TStoHtmlHelpViewer::kApplicationHelpFile
                                                     : windowFile
                                               : managerFile));
    Expect(viewer.UnderstandsKeyword(keyword) == (qm::IsChmFile(file) ? 1 : 0));
    Expect(viewer.UnderstandsTopic(topic) == qm::IsChmFile(file));
    CheckCall(viewer.DisplayTopic(topic), THHCommand::DisplayTopic, file, page);
    CheckCall(viewer.ShowTableOfContents(), THHCommand::DisplayToc, file);

    // A keyword offered by this viewer comes back trimmed, and is its own.
    const QStringList offered = viewer.GetHelpStrings(keyword);
    Expect(offered.size() == 1 && viewer.SelectKeyword({topic, offered[0]}) ==
                                      (topic.section(':', 0, 0) == viewer.GetViewerName() ? 0 : 1));
    const auto shown = viewer.ShowHelp(offered[0]);
    CheckCall(shown, THHCommand::DisplayIndex, file);
    Expect(!shown || shown->Keyword == Trimmed(keyword));

    const auto byContext = viewer.DisplayHelpByContext(context, windowFile);
    Expect(byContext.has_value() == viewer.UnderstandsContext(context, windowFile) ||
           windowFile.isEmpty());
    if (byContext)
        Expect(byContext->Command == THHCommand::HelpContext && byContext->Context == context &&
               qm::IsChmFile(byContext->File));

    Expect(viewer.ShutDown().Command == THHCommand::CloseAll);
    Expect(viewer.HelpFile().endsWith(
        windowFile.isEmpty() ? TStoHtmlHelpViewer::kApplicationHelpFile : windowFile));
    return 0;
}
