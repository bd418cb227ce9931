#pragma once
// Why a file could not be read or written, in the system's words, so that a
// message can name the reason on a line of its own. Readers and writers
// that can fail take an optional `std::string* why` (nullptr: not wanted)
// and set it only when they fail; callers that pass none behave as before.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qm {

// Reasons of our own, for failures the system has no word for.
inline constexpr std::string_view kWhyNotRegularFile = "not a regular file";
inline constexpr std::string_view kWhyTooLarge = "too large";
inline constexpr std::string_view kWhyNoSection = "holds no section";
inline constexpr std::string_view kWhyNothingToWrite = "nothing to write";
inline constexpr std::string_view kWhyNotAnArchive = "not an archive the program can read";

// The system's text for an errno value ("Permission denied").
std::string ErrnoText(int error);

// The reason for a file refused for its size: kWhyTooLarge with the size,
// "too large: 70000000 bytes"; and the size such a reason names.
std::string TooLargeWhy(std::uintmax_t size);
std::optional<std::uintmax_t> TooLargeSize(std::string_view why);

// Sets `*why` when a reason is wanted.
inline void SetWhy(std::string* why, std::string_view text) {
    if (why)
        why->assign(text);
}

} // namespace qm
