#include "config/uFileOffsets.h"

#ifdef _WIN32
#include <io.h>
#else
#include <sys/types.h>
#include <unistd.h>
#endif

namespace qm {

long long FilePosition(std::FILE* file) {
#ifdef _WIN32
    return _ftelli64(file);
#else
    return ftello(file);
#endif
}

bool SeekFile(std::FILE* file, long long position) {
#ifdef _WIN32
    return _fseeki64(file, position, SEEK_SET) == 0;
#else
    return fseeko(file, position, SEEK_SET) == 0;
#endif
}

bool TruncateFile(std::FILE* file, long long position) {
    if (std::fflush(file) != 0)
        return false;
#ifdef _WIN32
    const bool cut = _chsize_s(_fileno(file), position) == 0;
#else
    const bool cut = ftruncate(fileno(file), position) == 0;
#endif
    return cut && SeekFile(file, position);
}

} // namespace qm
