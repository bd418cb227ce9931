// The demo game the build makes: archives holding our tables at the game's
// paths, a patch that overrides a few values, and a JPEG-compressed BLP
// button image for every art path.

#include "data/TreeFile.h"
#include "support/TestFiles.h"
#include "text/TextCodec.h"

#include <gtest/gtest.h>

#include <StormLib.h>
#include <cstring>
#include <jpeglib.h>
#include <optional>

namespace qm::test {
namespace {

namespace fs = std::filesystem;

const fs::path kGame = QUILLMARK_DEMO_GAME;

class TArchive {
  public:
    explicit TArchive(const fs::path& path) {
        if (!SFileOpenArchive(path.c_str(), 0, STREAM_FLAG_READ_ONLY, &mpq_))
            mpq_ = nullptr;
    }
    ~TArchive() {
        if (mpq_)
            SFileCloseArchive(mpq_);
    }
    TArchive(const TArchive&) = delete;
    TArchive& operator=(const TArchive&) = delete;

    bool IsOpen() const { return mpq_ != nullptr; }
    std::optional<std::string> Read(const std::string& entry) const {
        HANDLE file = nullptr;
        if (!mpq_ || !SFileOpenFileEx(mpq_, entry.c_str(), 0, &file))
            return std::nullopt;
        std::string bytes(SFileGetFileSize(file, nullptr), '\0');
        DWORD read = 0;
        SFileReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
        SFileCloseFile(file);
        bytes.resize(read);
        return bytes;
    }

  private:
    HANDLE mpq_ = nullptr;
};

std::uint32_t U32(const std::string& bytes, size_t at) {
    std::uint32_t v = 0;
    if (at + 4 <= bytes.size())
        std::memcpy(&v, bytes.data() + at, 4);
    return v;
}

// The JPEG a BLP's shared header and first mipmap make, or empty.
std::string BlpJpeg(const std::string& blp) {
    if (blp.size() < 160 || U32(blp, 4) != 0)
        return {};
    const std::uint32_t header = U32(blp, 156), offset = U32(blp, 28), size = U32(blp, 92);
    if (160 + header > blp.size() || offset + size > blp.size())
        return {};
    return blp.substr(160, header) + blp.substr(offset, size);
}

struct TDecoded {
    int Width = 0, Height = 0, Components = 0, LightPixels = 0;
};

TDecoded Decode(const std::string& jpeg) {
    TDecoded out;
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(jpeg.data()), jpeg.size());
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_CMYK; // the stored components, untouched
    jpeg_start_decompress(&cinfo);
    out = {static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height),
           cinfo.output_components, 0};
    std::vector<unsigned char> row(cinfo.output_width * cinfo.output_components);
    JSAMPROW rows[1] = {row.data()};
    while (cinfo.output_scanline < cinfo.output_height) {
        jpeg_read_scanlines(&cinfo, rows, 1);
        for (size_t i = 0; i + 3 < row.size(); i += 4)
            out.LightPixels += row[i] > 200 && row[i + 1] > 200 && row[i + 2] > 200;
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return out;
}

// Image paths of an Art value, as the icon extraction splits them.
std::vector<std::string> ArtPaths(const std::string& art) {
    std::vector<std::string> paths;
    size_t start = 0;
    while (start <= art.size()) {
        const size_t end = std::min(art.find(',', start), art.size());
        const std::string path(Trim(std::string_view(art).substr(start, end - start)));
        if (path.find('\\') != std::string::npos)
            paths.push_back(path);
        start = end + 1;
    }
    return paths;
}

TEST(DemoGame, ArchivesHoldTheTablesAtTheirArchivePaths) {
    int tables = 0;
    for (const char* name : {"war3", "war3x", "war3patch"}) {
        SCOPED_TRACE(name);
        const TArchive mpq(kGame / (std::string(name) + ".mpq"));
        ASSERT_TRUE(mpq.IsOpen());
        for (const auto& entry : fs::directory_iterator(SourceDir() / "demo" / name / "Units")) {
            const auto inside = mpq.Read("Units\\" + entry.path().filename().string());
            ASSERT_TRUE(inside.has_value()) << entry.path().filename();
            EXPECT_EQ(*inside, ReadBytes(entry.path()));
            ++tables;
        }
    }
    // Both lists of eighteen between the base and expansion archives, and the patch's few.
    EXPECT_GT(tables, 36);
    const TArchive base(kGame / "war3.mpq");
    EXPECT_TRUE(base.Read("Units\\HumanUnitFunc.txt").has_value());
    EXPECT_TRUE(base.Read("Units\\CommandStrings.txt").has_value());
}

TEST(DemoGame, ThePatchOverridesValuesOfTheBaseArchive) {
    const auto base = LoadDemoTables("Strings", {"war3", "war3x"});
    const auto merged = LoadDemoTables("Strings", {"war3", "war3x", "war3patch"});
    const auto patch = LoadDemoTables("Strings", {"war3patch"});
    ASSERT_GT(patch->Count(), 0);
    for (int i = 0; i < patch->Count(); ++i) {
        const TBindRec& patched = patch->Records(i);
        SCOPED_TRACE(patched.ID);
        ASSERT_NE(base->FindRecord(patched.ID), nullptr);
        EXPECT_NE(base->FindRecord(patched.ID)->Ubertip, patched.Ubertip);
        EXPECT_EQ(merged->FindRecord(patched.ID)->Ubertip, patched.Ubertip);
        // Values the patch leaves out stay as the base archive has them.
        EXPECT_EQ(merged->FindRecord(patched.ID)->Hotkey, base->FindRecord(patched.ID)->Hotkey);
    }
}

TEST(DemoGame, EveryArtPathHasAJpegButtonImage) {
    const TArchive base(kGame / "war3.mpq"), expansion(kGame / "war3x.mpq");
    ASSERT_TRUE(base.IsOpen() && expansion.IsOpen());
    const auto funcs = LoadDemoFuncs(); // corrected art included
    int images = 0;
    for (int i = 0; i < funcs->Count(); ++i) {
        for (const std::string& path : ArtPaths(funcs->Records(i).Art)) {
            SCOPED_TRACE(path);
            auto blp = base.Read(path);
            if (!blp)
                blp = expansion.Read(path);
            ASSERT_TRUE(blp.has_value());
            const std::string jpeg = BlpJpeg(*blp);
            ASSERT_FALSE(jpeg.empty()) << "not a JPEG-compressed BLP";
            const TDecoded image = Decode(jpeg);
            EXPECT_EQ(image.Width, 64);
            EXPECT_EQ(image.Height, 64);
            EXPECT_EQ(image.Components, 4);
            EXPECT_GT(image.LightPixels, 20) << "no letter drawn";
            ++images;
        }
    }
    EXPECT_GT(images, 400);
}

TEST(DemoGame, TooltipsNameTheHotkeyInColour) {
    const auto strings = LoadDemoTables("Strings", {"war3", "war3x"});
    for (int i = 0; i < strings->Count(); ++i) {
        const TBindRec& rec = strings->Records(i);
        SCOPED_TRACE(rec.ID);
        EXPECT_FALSE(rec.Tip.empty());
        EXPECT_FALSE(rec.Ubertip.empty());
        const std::string hotkey(Trim(rec.Hotkey.substr(0, rec.Hotkey.find(','))));
        if (!hotkey.empty()) {
            EXPECT_NE(rec.Tip.find("|cffffcc00" + hotkey + "|r"), std::string::npos) << rec.Tip;
        }
        const std::string learn(Trim(rec.Researchhotkey));
        if (!learn.empty()) {
            EXPECT_NE(rec.Researchtip.find("|cffffcc00" + learn + "|r"), std::string::npos);
        }
    }
}

} // namespace
} // namespace qm::test
