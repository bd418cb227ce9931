#pragma once
// The shipped action trees and game tables as the data tests see them: tree
// lines split the way the tree loader splits them, and documents merged from
// a list of unit data tables.

#include "config/uCfgManager.h"

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace qm::test {

struct TTreeLine {
    int Number = 0;  // 1-based line number in the file
    int Level = 0;   // leading TABs
    int Parent = -1; // index of the parent line, -1 at the top
    std::vector<std::string> Fields;
    std::string Id;   // field 2 unless "?" or missing
    std::string Icon; // field 3 unless "?" or missing
};

// The fields of a line as the tree loader splits them: TAB, CR and LF are
// skipped before each field, "|", a double quote, CR and LF end one, empty
// fields are dropped.
std::vector<std::string> SplitTreeLine(const std::string& line);

// Every non-empty line of a tree file, with parents resolved as the loader
// places nodes (a deeper line becomes a child of the line before it).
std::vector<TTreeLine> ReadTree(const std::filesystem::path& path);

// The identifiers of every action node of a tree.
std::set<std::string> TreeIds(const std::vector<TTreeLine>& tree);

// The eighteen table names of one kind ("Func" or "Strings"), as in the archives.
std::vector<std::string> TableNames(const std::string& kind);

// The tables of one kind found in `units`, merged in list order, sorted.
std::unique_ptr<TCfgManager> LoadTables(const std::filesystem::path& units,
                                        const std::string& kind);

// The demo game's tables of one kind from the named archive folders, merged in order.
std::unique_ptr<TCfgManager> LoadDemoTables(const std::string& kind,
                                            const std::vector<std::string>& archives);

// The function tables of the demo game's archives in merge order, then the
// correction file: the values the default configuration takes its positions from.
std::unique_ptr<TCfgManager> LoadDemoFuncs();

// Repository paths.
std::filesystem::path SourceDir();
std::filesystem::path TreePath(const std::string& name);
std::filesystem::path FixPath();

} // namespace qm::test
