// Any bytes in place of one file of a small CASC installation (the input's
// first byte picks which), read the way the program reads a storage: opened,
// then every path extracted. Nothing may crash, hang or allocate without
// bound; a storage that does not open says why, and a failed extraction
// leaves the stream as it was.

#include "CascFuzzStorage.h"
#include "FuzzInput.h"
#include "gamedata/CascStorage.h"

#include <cstdio>
#include <cstdlib>

namespace {

namespace fs = std::filesystem;

struct TFuzzStorage {
    fs::path root = fs::temp_directory_path() / ("quillmark-fuzz-casc-" + std::to_string(getpid()));
    std::vector<fs::path> files;
    std::vector<std::string> originals;

    TFuzzStorage() {
        if (!qm::fuzz::WriteCascStorage(root))
            std::abort();
        files = qm::fuzz::CascFiles(root);
        for (const fs::path& file : files)
            originals.push_back(qm::fuzz::ReadInput(file));
    }
    ~TFuzzStorage() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
};

TFuzzStorage& Storage() {
    static TFuzzStorage storage;
    return storage;
}

void ExtractEach(qm::TCascStorage& storage) {
    std::FILE* out = std::tmpfile();
    if (!out)
        return;
    std::fputs("kept", out);
    for (const std::string& path : qm::fuzz::CascPaths()) {
        const long before = std::ftell(out);
        if (!storage.ExtractToHandle(path, out, 1 << 20) && std::ftell(out) != before)
            std::abort();
    }
    std::fclose(out);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    TFuzzStorage& storage = Storage();
    const size_t which = data[0] % storage.files.size();
    qm::fuzz::WriteInput(storage.files[which], data + 1, size - 1);
    {
        qm::TCascStorage casc(storage.root);
        if (casc.IsOpen() == !casc.Failure().empty())
            std::abort();
        ExtractEach(casc);
    }
    const std::string& original = storage.originals[which];
    qm::fuzz::WriteInput(storage.files[which],
                         reinterpret_cast<const std::uint8_t*>(original.data()), original.size());
    return 0;
}
