// The editor's tree loader over any bytes: one node for every line that has
// a field, and command cards shared from both sides.

#include "FuzzInput.h"
#include "FuzzQt.h"
#include "editor/TActionTree.h"
#include "editor/TImageList.h"
#include "gamedata/TreeModel.h"
#include "text/TextCodec.h"

#include <QTreeWidget>

#include <algorithm>
#include <set>

namespace {

int LinesWithFields(const std::string& text) {
    int count = 0;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = std::min(text.find('\n', start), text.size());
        count += qm::TTreeModel::ExtractTVFields(std::string_view(text).substr(start, end - start))
                         .empty()
                     ? 0
                     : 1;
        start = end + 1;
    }
    return count;
}

// Two actions share a card from both sides, or from neither.
bool CardsShareBothWays(const qm::TTreeModel& model) {
    std::set<std::pair<std::string, std::string>> pairs;
    std::set<std::string> done;
    for (const qm::TTreeNode& node : model.Nodes()) {
        if (node.ID.empty() || !done.insert(node.ID).second)
            continue;
        for (int mate : model.CardMatesOf(node.ID))
            pairs.insert({node.ID, model[mate].ID});
    }
    return std::all_of(pairs.begin(), pairs.end(), [&](const auto& pair) {
        return pairs.contains({pair.second, pair.first});
    });
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qm::fuzz::StartApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static const qm::fuzz::TInputFile input("TV_loader.wrk");
    static QTreeWidget view;
    static qm::TImageList images;
    static qm::TActionTree tree(view, images, input.path().parent_path() / "no-icons");
    qm::fuzz::WriteInput(input.path(), data, size);
    tree.FreeTvData();
    tree.LoadTVFromFile(input.path());
    const std::string text =
        qm::FileTextToUtf8(std::string(reinterpret_cast<const char*>(data), size));
    if (tree.NodeCount() != LinesWithFields(text) || !CardsShareBothWays(tree.Model()))
        std::abort();
    return 0;
}
