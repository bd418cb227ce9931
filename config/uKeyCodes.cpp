#include "config/uKeyCodes.h"

#include <algorithm>
#include <charconv>
#include <iterator>

namespace qm {
namespace {

struct TKeyName {
    int Code;
    const char* Name;
};

// The keys of the game's own list of codes (the Windows virtual-key codes)
// beside letters, digits, the numeric pad's digits and the function keys.
constexpr TKeyName kNames[] = {
    {8, "Back"},   {9, "Tab"},    {13, "Enter"},  {16, "Shift"},  {17, "Ctrl"},   {18, "Alt"},
    {19, "Pause"}, {20, "Caps"},  {27, "Esc"},    {32, "Space"},  {33, "PgUp"},   {34, "PgDn"},
    {35, "End"},   {36, "Home"},  {37, "\u2190"}, {38, "\u2191"}, {39, "\u2192"}, {40, "\u2193"},
    {45, "Ins"},   {46, "Del"},   {91, "Win"},    {92, "Win"},    {93, "Menu"},   {106, "Num*"},
    {107, "Num+"}, {109, "Num-"}, {110, "Num."},  {111, "Num/"},  {144, "NumLk"}, {145, "ScrLk"},
    {186, ";"},    {187, "="},    {188, ","},     {189, "-"},     {190, "."},     {191, "/"},
    {192, "`"},    {219, "["},    {220, "\\"},    {221, "]"},     {222, "'"},
};

// The digits of a code without its leading zeros.
std::string_view Significant(std::string_view value) {
    const size_t first = value.find_first_not_of('0');
    return first == std::string_view::npos ? std::string_view("0") : value.substr(first);
}

// The code's number; -1 beyond any key's code.
int CodeOf(std::string_view value) {
    const std::string_view digits = Significant(value);
    int code = -1;
    if (digits.size() <= 3)
        std::from_chars(digits.data(), digits.data() + digits.size(), code);
    return code;
}

std::string NameOf(int code) {
    if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9'))
        return std::string(1, static_cast<char>(code));
    if (code >= 96 && code <= 105)
        return "Num" + std::to_string(code - 96);
    if (code >= 112 && code <= 135)
        return "F" + std::to_string(code - 111);
    const auto* found = std::find_if(std::begin(kNames), std::end(kNames),
                                     [code](const TKeyName& k) { return k.Code == code; });
    return found == std::end(kNames) ? std::string() : found->Name;
}

} // namespace

bool IsKeyCode(std::string_view value) {
    return value.size() >= 2 && value != "512" &&
           std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string KeyCodeName(std::string_view value) {
    return IsKeyCode(value) ? NameOf(CodeOf(value)) : std::string();
}

std::string KeyCodeKey(std::string_view value) {
    if (!IsKeyCode(value))
        return {};
    const std::string name = NameOf(CodeOf(value));
    // Only a key that types a character shares its key with a letter.
    if (name.size() == 1)
        return name;
    const std::string_view digits = Significant(value);
    return digits.size() < 2 ? "0" + std::string(digits) : std::string(digits);
}

} // namespace qm
