// Any bytes as the game's war3.mpq: entries extracted one by one, the unit
// tables joined into the default configuration, and the icons it names.
// A failed extraction leaves the stream as it was; nothing but icons stays
// in the icons folder.

#include "FuzzInput.h"
#include "config/uCfgManager.h"
#include "gamedata/MPQMngr.h"
#include "gamedata/PreLoad.h"

#include <cstdio>
#include <cstdlib>

namespace {

namespace fs = std::filesystem;

// A folder of this process, standing for the game's and the program's.
struct TFuzzFolder {
    fs::path path = fs::temp_directory_path() / ("quillmark-fuzz-mpq-" + std::to_string(getpid()));
    TFuzzFolder() { fs::create_directories(path / "Icons"); }
    ~TFuzzFolder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

void ExtractEach(const fs::path& archive) {
    qm::TMPQManager mpq(archive);
    std::FILE* out = std::tmpfile();
    if (!out)
        return;
    std::fputs("kept", out);
    for (const char* entry : {"(listfile)", "Units\\CommandFunc.txt", "Units\\HumanUnitStrings.txt",
                              "ReplaceableTextures\\CommandButtons\\BTNFootman.blp"}) {
        const long before = std::ftell(out);
        if (!mpq.ExtractToHandle(entry, out) && std::ftell(out) != before)
            std::abort();
    }
    std::fclose(out);
}

void CheckIconsFolder(const fs::path& icons) {
    for (const auto& entry : fs::directory_iterator(icons)) {
        if (entry.path().extension() != ".jpg")
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static const TFuzzFolder folder;
    const fs::path archive = folder.path / "war3.mpq";
    const fs::path defaults = folder.path / "DefaultKeys.wrk";
    qm::fuzz::WriteInput(archive, data, size);
    ExtractEach(archive);
    const qm::TDefaultKeys built = qm::BuildDefaultConfiguration(folder.path, defaults, "");
    if (built.Written != (built.Records > 0))
        std::abort();
    if (built.Written) {
        qm::ExtractIcons(folder.path, defaults, folder.path / "Icons");
        CheckIconsFolder(folder.path / "Icons");
    }
    std::error_code ec;
    fs::remove(defaults, ec);
    for (const auto& entry : fs::directory_iterator(folder.path / "Icons"))
        fs::remove(entry.path(), ec);
    return 0;
}
