#include "config/uFileError.h"

#include <charconv>
#include <system_error>

namespace qm {

std::string ErrnoText(int error) {
    return std::generic_category().message(error);
}

namespace {
constexpr std::string_view kBytes = " bytes";
}

std::string TooLargeWhy(std::uintmax_t size) {
    return std::string(kWhyTooLarge) + ": " + std::to_string(size) + std::string(kBytes);
}

std::optional<std::uintmax_t> TooLargeSize(std::string_view why) {
    const std::string prefix = std::string(kWhyTooLarge) + ": ";
    if (!why.starts_with(prefix) || !why.ends_with(kBytes))
        return std::nullopt;
    const std::string_view digits =
        why.substr(prefix.size(), why.size() - prefix.size() - kBytes.size());
    std::uintmax_t size = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), size);
    if (ec != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    return size;
}

} // namespace qm
