#pragma once
// Paths cross between Qt's strings and the core's std::filesystem as UTF-16,
// so a name in any script survives the way on every system.

#include <QString>

#include <filesystem>

namespace qm {

inline std::filesystem::path ToPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

inline QString FromPath(const std::filesystem::path& path) {
    return QString::fromStdU16String(path.u16string());
}

} // namespace qm
