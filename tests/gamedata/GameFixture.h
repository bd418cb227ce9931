#pragma once
// Archives and game folders for the import tests, made through StormLib's
// writer.

#include "fixtures/TMpqWriter.h"
#include "gamedata/IsolatedStep.h"
#include "gamedata/MPQMngr.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
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

// An archive that Debian's StormLib 9.22 cannot read without dying: its
// first entry, `name`, holds 13 sectors, and its sector offset table is
// made to claim 1051 bytes instead of 56. The library reads that many into
// a buffer of the claim rounded down to whole offsets (1048 bytes), and the
// three bytes beyond, zeros here, break the heap. `others` follow it.
inline void MakeCrashingArchive(const fs::path& path, const std::string& name,
                                const TEntries& others = {}) {
    {
        TMpqWriter mpq(path);
        ASSERT_TRUE(mpq.Add(name, Noise(13 * 4096 - 100, 1)));
        for (const auto& [other, bytes] : others)
            ASSERT_TRUE(mpq.Add(other, bytes));
        ASSERT_TRUE(mpq.Close());
    }
    std::string bytes = ReadBytes(path);
    constexpr size_t kTable = 32; // the first entry follows the header
    constexpr std::uint32_t kClaim = 1051;
    std::uint32_t length = 0;
    std::memcpy(&length, bytes.data() + kTable, sizeof length);
    ASSERT_EQ(length, 56u) << "the fixture writer's layout changed";
    std::memcpy(bytes.data() + kTable, &kClaim, sizeof kClaim);
    std::memset(bytes.data() + kTable + kClaim / 4 * 4, 0, kClaim % 4);
    WriteBytes(path, bytes);
}

// Whether reading `entry` of `archive` kills the process that reads it.
inline bool ReadingKills(const fs::path& archive, const std::string& entry) {
    return !RunIsolated([&](TStepReport&) {
                TMPQManager mpq(archive);
                std::FILE* out = std::tmpfile();
                mpq.ExtractToHandle(entry, out);
                std::fclose(out);
            }).Completed;
}

#define SKIP_UNLESS_READING_KILLS(archive, entry)                                                  \
    if (!qm::test::ReadingKills(archive, entry))                                                   \
    GTEST_SKIP() << "this StormLib reads the damaged archive without dying"

// Whether the damage is found depends on what lies next to the damaged
// buffer, so a run may read through it even where the probe above died:
// a step that succeeded leaves nothing to check.
#define SKIP_IF_READ_THROUGH(succeeded)                                                            \
    if (succeeded)                                                                                 \
    GTEST_SKIP() << "this run read the damaged archive without dying"

} // namespace qm::test
