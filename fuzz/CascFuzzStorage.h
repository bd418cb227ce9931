#pragma once
// The small CASC installation fuzz_casc damages and make_fuzz_seeds seeds it
// from: files of every envelope kind, in the root, a mount and a nested
// mount, and its tables stored plain so that mutations reach their fields.

#include "fixtures/CascWriter.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace qm::fuzz {

inline const std::vector<std::string>& CascPaths() {
    static const std::vector<std::string> paths = {
        "war3.w3mod:units\\HumanUnitFunc.txt",
        "war3.w3mod:_locales\\enus.w3mod:units\\HumanUnitStrings.txt",
        "war3.w3mod:ReplaceableTextures\\CommandButtons\\BTNFootman.blp",
        "Readme.txt",
        "war3.w3mod:units\\Secret.txt",
        "war3.w3mod:units\\Missing.txt"};
    return paths;
}

inline bool WriteCascStorage(const std::filesystem::path& root) {
    TCascWriter writer;
    std::string table;
    for (int i = 0; table.size() < 2500; ++i)
        table += "[h" + std::to_string(i) + "]\r\nHotkey=F\r\n";
    writer.Add(CascPaths()[0], table, TBlteKind::Frames);
    writer.Add(CascPaths()[1], "[hfoo]\r\nName=Footman\r\n", TBlteKind::Zlib);
    writer.Add(CascPaths()[2], std::string(300, '\x7F') + "BLP1", TBlteKind::Plain);
    writer.Add(CascPaths()[3], "top level", TBlteKind::Zlib);
    writer.Add(CascPaths()[4], "hidden", TBlteKind::Encrypted);
    return writer.Write(root);
}

// The installation's files in a fixed order: an input's first byte picks
// the one its other bytes replace.
inline std::vector<std::filesystem::path> CascFiles(const std::filesystem::path& root) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
        if (entry.is_regular_file())
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace qm::fuzz
