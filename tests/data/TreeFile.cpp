#include "data/TreeFile.h"

#include <fstream>

namespace qm::test {

namespace fs = std::filesystem;

std::vector<std::string> SplitTreeLine(const std::string& line) {
    std::vector<std::string> fields;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == '\t' || line[i] == '\r' || line[i] == '\n'))
            ++i;
        const size_t end = std::min(line.find_first_of("|\"\r\n", i), line.size());
        if (end > i)
            fields.push_back(line.substr(i, end - i));
        i = end + 1;
    }
    return fields;
}

std::vector<TTreeLine> ReadTree(const fs::path& path) {
    std::vector<TTreeLine> tree;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    int number = 0;
    std::vector<int> depthStack; // indexes of the last line placed at each depth
    while (std::getline(in, line)) {
        ++number;
        TTreeLine node;
        node.Number = number;
        node.Fields = SplitTreeLine(line);
        if (node.Fields.empty())
            continue;
        while (node.Level < static_cast<int>(line.size()) && line[node.Level] == '\t')
            ++node.Level;
        const int depth = std::min<int>(node.Level, depthStack.size());
        depthStack.resize(depth);
        node.Parent = depth > 0 ? depthStack.back() : -1;
        if (node.Fields.size() > 1 && node.Fields[1] != "?")
            node.Id = node.Fields[1];
        if (node.Fields.size() > 2 && node.Fields[2] != "?")
            node.Icon = node.Fields[2];
        depthStack.push_back(static_cast<int>(tree.size()));
        tree.push_back(std::move(node));
    }
    return tree;
}

std::set<std::string> TreeIds(const std::vector<TTreeLine>& tree) {
    std::set<std::string> ids;
    for (const TTreeLine& node : tree)
        if (!node.Id.empty())
            ids.insert(node.Id);
    return ids;
}

std::vector<std::string> TableNames(const std::string& kind) {
    static const char* const groups[] = {
        "Command",      "CommonAbility",   "HumanAbility", "HumanUnit",
        "HumanUpgrade", "ItemAbility",     "Item",         "NeutralAbility",
        "NeutralUnit",  "NightElfAbility", "NightElfUnit", "NightElfUpgrade",
        "OrcAbility",   "OrcUnit",         "OrcUpgrade",   "UndeadAbility",
        "UndeadUnit",   "UndeadUpgrade"};
    std::vector<std::string> names;
    for (const char* group : groups)
        names.push_back(std::string(group) + kind + ".txt");
    return names;
}

std::unique_ptr<TCfgManager> LoadTables(const fs::path& units, const std::string& kind) {
    auto doc = TCfgManager::Create();
    for (const std::string& name : TableNames(kind)) {
        if (fs::exists(units / name)) {
            doc->LoadFromFile(units / name, true);
            doc->Sort();
        }
    }
    return doc;
}

std::unique_ptr<TCfgManager> LoadDemoTables(const std::string& kind,
                                            const std::vector<std::string>& archives) {
    auto doc = TCfgManager::Create();
    for (const std::string& archive : archives) {
        for (const std::string& name : TableNames(kind)) {
            if (const fs::path table = SourceDir() / "demo" / archive / "Units" / name;
                fs::exists(table)) {
                doc->LoadFromFile(table, true);
                doc->Sort();
            }
        }
    }
    return doc;
}

std::unique_ptr<TCfgManager> LoadDemoFuncs() {
    auto doc = LoadDemoTables("Func", {"war3", "war3x", "war3patch"});
    doc->LoadFromFile(FixPath(), true);
    doc->Sort();
    return doc;
}

fs::path SourceDir() {
    return QUILLMARK_SOURCE_DIR;
}

fs::path TreePath(const std::string& name) {
    return SourceDir() / "QMKData" / name;
}

fs::path FixPath() {
    return SourceDir() / "QMKData" / "Fix.wrk";
}

} // namespace qm::test
