#pragma once
// 64-bit positions in stdio streams, on every system.

#include <cstdio>

namespace qm {

// The stream's position; -1 when it has none.
long long FilePosition(std::FILE* file);
bool SeekFile(std::FILE* file, long long position);
// Cuts the file back to `position` and continues writing there.
bool TruncateFile(std::FILE* file, long long position);

} // namespace qm
