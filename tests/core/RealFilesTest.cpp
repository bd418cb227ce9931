// Players' own CustomKeys.txt files: every one reads, and written back it
// reads to the same document with every value byte for byte.

#include "config/uCfgManager.h"
#include "support/TestFiles.h"
#include "text/TextCodec.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

namespace fs = std::filesystem;

TEST(RealFiles, PlayersFilesSurviveARoundTrip) {
    const fs::path real = test::RealData();
    if (real.empty())
        GTEST_SKIP() << "no real data beside this checkout (" << QUILLMARK_REAL_DATA << ")";
    test::TempDir dir;
    int files = 0;
    for (const auto& entry : fs::directory_iterator(real / "customkeys")) {
        SCOPED_TRACE(entry.path().filename().string());
        const auto doc = TCfgManager::CreateFromFile(entry.path());
        ASSERT_GT(doc->Count(), 0);
        const fs::path out = dir / entry.path().filename().string();
        ASSERT_TRUE(doc->SaveToFile(out, true));
        const auto back = TCfgManager::CreateFromFile(out);
        // Written again, the file comes out byte for byte the same.
        const fs::path again = dir / "again.txt";
        ASSERT_TRUE(back->SaveToFile(again, true));
        EXPECT_EQ(test::ReadBytes(out), test::ReadBytes(again));
        EXPECT_TRUE(back->SameAs(*TCfgManager::CreateFromFile(again)));
        // Walking both documents in order (the sort is stable), every value
        // comes back byte for byte; only blank values and records holding
        // nothing but their identifier are not written.
        int written = 0;
        for (int i = 0; i < doc->Count(); ++i) {
            const TBindRec& rec = doc->Records(i);
            bool blank = true;
            for (int f = 1; f < kFieldCount; ++f)
                blank = blank && rec[f].empty();
            if (blank)
                continue;
            ASSERT_LT(written, back->Count());
            const TBindRec& copy = back->Records(written++);
            ASSERT_EQ(copy.ID, rec.ID);
            for (int f = 1; f < kFieldCount; ++f) {
                const std::string expected = Trim(rec[f]).empty() ? "" : rec[f];
                EXPECT_EQ(copy[f], expected) << rec.ID << " field " << f;
            }
        }
        EXPECT_EQ(written, back->Count());
        EXPECT_GT(written, 0);
        ++files;
    }
    EXPECT_EQ(files, 24);
}

} // namespace
} // namespace qm
