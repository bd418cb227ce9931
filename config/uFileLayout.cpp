#include "config/uFileLayout.h"

namespace qm {

TFileLayout::TFileLayout(std::string bytes) : bytes_(std::move(bytes)) {
    const std::string_view all = bytes_;
    textBegin_ = all.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    const size_t ctrlZ = all.find('\x1A', textBegin_);
    textEnd_ = static_cast<std::uint32_t>(ctrlZ == std::string_view::npos ? all.size() : ctrlZ);
}

std::string_view TFileLayout::Text() const {
    return std::string_view(bytes_).substr(textBegin_, textEnd_ - textBegin_);
}

std::span<const TFileLayout::TValue> TFileLayout::Values(const TSection& section) const {
    return std::span<const TValue>(values_).subspan(section.FirstValue, section.ValueCount);
}

void TFileLayout::Finish(bool crlf) {
    crlf_ = crlf;
    sections_.shrink_to_fit();
    values_.shrink_to_fit();
}

bool IsKeyLine(std::string_view trimmed) {
    const size_t eq = trimmed.find('=');
    return eq != std::string_view::npos && eq > 0 && !trimmed.starts_with("//");
}

} // namespace qm
