// Any bytes as a settings or language file: reading never fails badly, and
// a value written and saved reads back as written.
#include "config/uIniFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

// One file for the whole run, in memory where possible: every run saves it,
// and saving syncs it.
struct TFuzzFile {
    std::filesystem::path path;
    TFuzzFile() {
        char shm[] = "/dev/shm/quillmark-fuzz-ini-XXXXXX";
        char tmp[] = "/tmp/quillmark-fuzz-ini-XXXXXX";
        char* name = std::filesystem::is_directory("/dev/shm") ? shm : tmp;
        const int fd = mkstemp(name);
        if (fd < 0)
            std::abort();
        close(fd);
        path = name;
    }
    ~TFuzzFile() {
        std::error_code ec;
        std::filesystem::remove(path, ec);
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const TFuzzFile file;
    const std::filesystem::path& path = file.path;
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    qm::TIniFile ini(path);
    (void)ini.ReadSection("Interface");
    (void)ini.ReadInteger("Interface", "cpTip", 0);
    (void)ini.ReadString("Strings", "TVName", "");
    ini.WriteString("Strings", "TVName", "QMKData\\TV_rus.wrk");
    ini.WriteBool("Initialisation", "TVLoaded", true);
    if (!ini.Save())
        std::abort();
    const qm::TIniFile again(path);
    if (again.ReadString("Strings", "TVName", "") != "QMKData\\TV_rus.wrk" ||
        !again.ReadBool("Initialisation", "TVLoaded", false))
        std::abort();
    return 0;
}
