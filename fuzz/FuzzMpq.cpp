// Any bytes as the game's war3.mpq, read the way the program reads archives:
// apart from this process. Entries are extracted one by one, the unit tables
// joined into the default configuration, and the icons it names extracted.
// This process must live through every input; a reading child may die only
// inside StormLib, and then its step fails and leaves nothing behind. A
// failed extraction leaves the stream as it was; nothing but icons stays in
// the icons folder.

#include "FuzzChild.h"
#include "FuzzInput.h"
#include "config/uCfgManager.h"
#include "gamedata/IsolatedStep.h"
#include "gamedata/MPQMngr.h"
#include "gamedata/PreLoad.h"

#include <cstdio>
#include <cstdlib>

// A failed assertion and an illegal instruction leave a stack to judge by.
// Every input forks three children, which costs with every page the parent
// holds: a smaller quarantine of freed memory keeps it small.
extern "C" const char* __asan_default_options() {
    return "handle_abort=1:handle_sigill=1:quarantine_size_mb=16";
}

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

const TFuzzFolder& Folder() {
    static const TFuzzFolder folder;
    return folder;
}

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

// The program's own folder holds the archive, the icons folder, the
// children's log and, when it was built, the default configuration: no
// scratch file of any step.
void CheckProgramFolder(const fs::path& folder) {
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name != "war3.mpq" && name != "Icons" && name != "child.log" &&
            name != "DefaultKeys.wrk") {
            std::fprintf(stderr, "left behind: %s\n", name.c_str());
            std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qm::fuzz::KeepChildrenApart(Folder().path / "child.log");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const fs::path& folder = Folder().path;
    const fs::path archive = folder / "war3.mpq";
    const fs::path defaults = folder / "DefaultKeys.wrk";
    qm::fuzz::WriteInput(archive, data, size);
    if (!qm::RunIsolated([&](qm::TStepReport&) { ExtractEach(archive); }).Completed)
        qm::fuzz::ExpectStormLibCrash();

    const qm::TDefaultKeys built = qm::BuildDefaultConfiguration(folder, defaults, "");
    if (!built.Failure.empty())
        qm::fuzz::ExpectStormLibCrash();
    if (built.Written != (built.Records > 0) || built.Written != fs::exists(defaults))
        std::abort();
    if (built.Written) {
        // Records without a value are not written.
        if (qm::TCfgManager::CreateFromFile(defaults)->Count() > built.Records)
            std::abort();
        if (!qm::ExtractIcons(folder, defaults, folder / "Icons").Failure.empty())
            qm::fuzz::ExpectStormLibCrash();
        CheckIconsFolder(folder / "Icons");
    }
    CheckProgramFolder(folder);
    std::error_code ec;
    fs::remove(defaults, ec);
    for (const auto& entry : fs::directory_iterator(folder / "Icons"))
        fs::remove(entry.path(), ec);
    return 0;
}
