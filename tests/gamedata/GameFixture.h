#pragma once
// Archives and game folders for the import tests, made through StormLib's
// writer.

#include "fixtures/TMpqWriter.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace qm::test {

using TEntries = std::map<std::string, std::string>;

// Writes an archive holding `entries`, all stored the same way.
inline void MakeArchive(const fs::path& path, const TEntries& entries,
                        TMpqEntryKind kind = TMpqEntryKind::Zlib) {
    TMpqWriter mpq(path);
    ASSERT_TRUE(mpq.IsOpen()) << path;
    for (const auto& [name, bytes] : entries)
        ASSERT_TRUE(mpq.Add(name, bytes, kind)) << name;
    ASSERT_TRUE(mpq.Close()) << path;
}

// `size` bytes that neither repeat nor compress away, different per seed.
inline std::string Noise(size_t size, unsigned seed) {
    std::string bytes(size, '\0');
    unsigned state = seed * 2654435761u + 1;
    for (char& c : bytes) {
        state = state * 1103515245u + 12345u;
        c = static_cast<char>(state >> 16);
    }
    return bytes;
}

} // namespace qm::test
