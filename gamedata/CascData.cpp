#include "gamedata/CascData.h"

#include "config/uFileOffsets.h"

#include <cstdio>
#include <system_error>

namespace qm::casc {
namespace {

constexpr std::uint32_t kEntryHeader = 30;

// Closes the data file on every way out.
class TDataFile : public TByteSource {
  public:
    explicit TDataFile(const std::filesystem::path& path) : file_(std::fopen(path.c_str(), "rb")) {}
    ~TDataFile() override {
        if (file_)
            std::fclose(file_);
    }
    TDataFile(const TDataFile&) = delete;
    TDataFile& operator=(const TDataFile&) = delete;

    bool Open() const { return file_ != nullptr; }
    bool Seek(std::uint64_t offset) { return SeekFile(file_, static_cast<long long>(offset)); }
    bool Read(unsigned char* out, size_t size) override {
        return std::fread(out, 1, size, file_) == size;
    }

  private:
    std::FILE* file_;
};

std::string DataFileName(std::uint32_t archive) {
    char name[16];
    std::snprintf(name, sizeof name, "data.%03u", archive);
    return name;
}

// The header names the same key (byte-reversed) and the same size as the index.
bool HeaderAgrees(const unsigned char* header, const unsigned char* key, std::uint32_t size) {
    for (size_t i = 0; i < kShortKey; ++i)
        if (header[15 - i] != key[i])
            return false;
    return Le32(header + 16) == size;
}

} // namespace

bool TCascData::Decode(const TCascLocation& where, const unsigned char* key,
                       std::uint64_t contentSize, const TByteSink& out, std::string& why) const {
    const std::filesystem::path path = dataDir_ / DataFileName(where.archive);
    std::error_code ec;
    const std::uint64_t fileSize =
        std::filesystem::is_regular_file(path, ec) ? std::filesystem::file_size(path, ec) : 0;
    if (ec || where.size < kEntryHeader || where.offset + where.size > fileSize) {
        why = "an index entry points past the end of " + path.filename().string();
        return false;
    }
    TDataFile file(path);
    unsigned char header[kEntryHeader];
    if (!file.Open() || !file.Seek(where.offset) || !file.Read(header, kEntryHeader)) {
        why = path.filename().string() + " cannot be read";
        return false;
    }
    if (!HeaderAgrees(header, key, where.size)) {
        why = "an entry of " + path.filename().string() + " does not match its index";
        return false;
    }
    TBlteDecoder decoder(file, where.size - kEntryHeader, contentSize, out);
    if (decoder.Decode())
        return true;
    why = decoder.Why();
    return false;
}

} // namespace qm::casc
