#pragma once
// A program folder laid out the way the editor expects it after its first
// start: settings with the import flags set, a default configuration, a
// tree file and a few icons.

#include "fixtures/ImageWriter.h"
#include "support/TestFiles.h"

#include <QString>
#include <string>
#include <vector>

namespace qm::test {

// A 3-component JPEG of one colour (0xRRGGBB).
inline std::string SolidJpeg(std::uint32_t rgb, int size = 16) {
    std::vector<std::uint8_t> samples;
    for (int i = 0; i < size * size; ++i) {
        samples.push_back(static_cast<std::uint8_t>(rgb >> 16));
        samples.push_back(static_cast<std::uint8_t>(rgb >> 8));
        samples.push_back(static_cast<std::uint8_t>(rgb));
    }
    return EncodeJpeg(samples, size, size, 3, 100);
}

inline const char* kDefaultKeys = "[Aabc]\r\nHotkey=A\r\nTip=Attack\r\nButtonpos=0,0\r\n"
                                  "[Bbcd]\r\nHotkey=B\r\nTip=Build\r\nButtonpos=1,0\r\n"
                                  "[Ccde]\r\nHotkey=C\r\nTip=Cast\r\nButtonpos=2,0\r\n"
                                  "[Ddef]\r\nHotkey=D\r\nTip=Defend\r\nButtonpos=3,0\r\n";

inline const char* kTree = "Human|?|BTNHuman.jpg\r\n"
                           "\tFootman|Aabc|BTNFoot.jpg\r\n"
                           "\t\tBuild|Bbcd|BTNBuild.jpg\r\n"
                           "\tKnight|Ccde|BTNKnight.jpg\r\n"
                           "Orc|?|BTNOrc.jpg\r\n"
                           "\tGrunt|Ddef|BTNGrunt.jpg\r\n";

class TProgramFolder {
  public:
    TProgramFolder() {
        fs::create_directories(dir_ / "QMKData");
        fs::create_directories(dir_ / "Icons");
        fs::create_directories(dir_ / "game");
        WriteBytes(dir_ / "QMKData" / "DefaultKeys.wrk", kDefaultKeys);
        WriteBytes(dir_ / "QMKData" / "TV_foreign.wrk", kTree);
        for (const char* name : {"BTNHuman.jpg", "BTNFoot.jpg", "BTNBuild.jpg", "BTNKnight.jpg",
                                 "BTNOrc.jpg", "BTNGrunt.jpg"})
            WriteBytes(dir_ / "Icons" / name, SolidJpeg(0x3060C0));
        WriteSettings("[Initialisation]\r\nLanguage=foreign\r\nDefCfgLoaded=1\r\nTVLoaded=1\r\n"
                      "IconsLoaded=1\r\n[Strings]\r\nWar3Folder=" +
                      Game().string() + "\r\n");
    }

    const fs::path& path() const { return dir_.path(); }
    fs::path operator/(const std::string& name) const { return dir_ / name; }
    fs::path Game() const { return dir_ / "game"; }
    fs::path Settings() const { return dir_ / "QMKData" / "QMK.ini"; }
    void WriteSettings(const std::string& text) const { WriteBytes(Settings(), text); }
    QString Q(const fs::path& p) const { return QString::fromStdString(p.string()); }

  private:
    TempDir dir_;
};

} // namespace qm::test
