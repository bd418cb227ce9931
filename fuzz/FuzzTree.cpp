// Rewriting tree files: both passes over any bytes, and the output loads.
// The input is a tree file, or a default configuration and a tree file
// parted by a line "@@@@"; without one a small configuration is used.

#include "FuzzInput.h"
#include "FuzzQt.h"
#include "config/uLineReader.h"
#include "editor/TActionTree.h"
#include "editor/TImageList.h"
#include "gamedata/TreeModel.h"
#include "gamedata/TreeRewrite.h"
#include "text/TextCodec.h"

#include <QTreeWidget>

#include <cstdlib>
#include <vector>

namespace {

constexpr std::string_view kParting = "@@@@\n";
constexpr std::string_view kDefaults =
    "[hfoo]\nName=|cffff0000Foot\"man|r\nArt=A\\BTNFootman.blp\n[hpea]\n"
    "Tip=Train |cffffcc00P|reasant (P)\n";

// The lines as the rewriting reads them.
std::vector<std::string> Lines(const std::filesystem::path& file) {
    std::vector<std::string> lines;
    qm::TLineReader reader;
    std::string line;
    if (reader.Open(file))
        while (reader.ReadLine(line))
            lines.push_back(line);
    return lines;
}

void Write(const std::filesystem::path& file, std::string_view bytes) {
    qm::fuzz::WriteInput(file, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

// Every line stays, at its level, and the loader makes a node of each
// line that has a field.
void CheckLoads(const std::vector<std::string>& before, const std::filesystem::path& tree) {
    static QTreeWidget view;
    static qm::TImageList images;
    static qm::TActionTree loader(view, images, tree.parent_path() / "no-icons");
    const std::string bytes = qm::fuzz::ReadInput(tree);
    const std::vector<std::string> after = Lines(tree);
    if (!qm::IsValidUtf8(bytes) || after.size() != before.size())
        std::abort();
    int withFields = 0;
    for (size_t i = 0; i < after.size(); ++i) {
        if (qm::TabCount(after[i]) != qm::TabCount(before[i]))
            std::abort();
        withFields += qm::TTreeModel::ExtractTVFields(after[i]).empty() ? 0 : 1;
    }
    loader.FreeTvData();
    loader.LoadTVFromFile(tree);
    if (loader.NodeCount() != withFields)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qm::fuzz::StartApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static const qm::fuzz::TInputFile tree("TV.wrk");
    static const qm::fuzz::TInputFile defaults("DefaultKeys.wrk");
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t parting = input.find(kParting);
    Write(defaults.path(),
          parting == std::string_view::npos ? kDefaults : input.substr(0, parting));
    Write(tree.path(),
          parting == std::string_view::npos ? input : input.substr(parting + kParting.size()));
    const std::vector<std::string> before = Lines(tree.path());
    // A readable, writable file is always rewritten.
    if (!qm::ClearTVNames(tree.path()))
        std::abort();
    CheckLoads(before, tree.path());
    if (!qm::FillTVFromDefaults(tree.path(), defaults.path()))
        std::abort();
    CheckLoads(before, tree.path());
    return 0;
}
