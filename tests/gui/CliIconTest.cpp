// quillmark-cli icon: the tree's decoding, written out as PNG.

#include "EditorFixture.h"
#include "app/TCli.h"

#include <QImage>
#include <gtest/gtest.h>
#include <sstream>

namespace qm {
namespace {

int RunCli(const std::vector<std::string>& args, std::string* out = nullptr) {
    std::ostringstream o, e;
    const int code = TCli().Run(args, o, e);
    if (out)
        *out = o.str();
    return code;
}

TEST(CliIcon, WritesTheIconAtItsOwnSizeOrScaled) {
    test::TempDir dir;
    test::WriteBytes(dir / "i.jpg", test::SolidJpeg(0x2040E0, 48));
    const std::string jpg = (dir / "i.jpg").string();
    std::string out;
    ASSERT_EQ(RunCli({"icon", jpg, (dir / "own.png").string()}, &out), kExitOk);
    EXPECT_EQ(out, "48x48\n");
    EXPECT_EQ(QImage(QString::fromStdString((dir / "own.png").string())).size(), QSize(48, 48));
    ASSERT_EQ(RunCli({"icon", jpg, (dir / "s.png").string(), "32", "16"}), kExitOk);
    const QImage scaled(QString::fromStdString((dir / "s.png").string()));
    ASSERT_EQ(scaled.size(), QSize(32, 16));
    EXPECT_NEAR(scaled.pixelColor(10, 8).blue(), 0xE0, 6);
}

TEST(CliIcon, RefusesBadInputAndReportsFailures) {
    test::TempDir dir;
    test::WriteBytes(dir / "bad.jpg", "not a picture");
    test::WriteBytes(dir / "i.jpg", test::SolidJpeg(0x2040E0));
    EXPECT_EQ(RunCli({"icon", (dir / "bad.jpg").string(), (dir / "o.png").string()}), kExitFailed);
    EXPECT_FALSE(std::filesystem::exists(dir / "o.png"));
    EXPECT_EQ(RunCli({"icon", (dir / "i.jpg").string()}), kExitUsage);
    EXPECT_EQ(RunCli({"icon", (dir / "i.jpg").string(), (dir / "o.png").string(), "0", "5"}),
              kExitUsage);
    EXPECT_EQ(RunCli({"icon", (dir / "i.jpg").string(), (dir / "no/such/o.png").string()}),
              kExitCannotWrite);
}

} // namespace
} // namespace qm
