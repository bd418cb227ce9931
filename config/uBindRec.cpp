#include "config/uBindRec.h"

#include <stdexcept>

namespace qm {
namespace {

constexpr std::array<std::string TBindRec::*, kFieldCount> kMembers = {
    &TBindRec::ID,          &TBindRec::Hotkey,
    &TBindRec::Unhotkey,    &TBindRec::Researchhotkey,
    &TBindRec::Tip,         &TBindRec::Untip,
    &TBindRec::Researchtip, &TBindRec::Revivetip,
    &TBindRec::Awakentip,   &TBindRec::Buttonpos,
    &TBindRec::Unbuttonpos, &TBindRec::Researchbuttonpos,
    &TBindRec::Name,        &TBindRec::Ubertip,
    &TBindRec::Art,         &TBindRec::Sellunits,
    &TBindRec::Trains};

constexpr std::array<std::string_view, kFieldCount> kReadingKeys = {
    "",          "HOTKEY",    "UNHOTKEY",    "RESEARCHHOTKEY",
    "TIP",       "UNTIP",     "RESEARCHTIP", "REVIVETIP",
    "AWAKENTIP", "BUTTONPOS", "UNBUTTONPOS", "RESEARCHBUTTONPOS",
    "NAME",      "UBERTIP",   "ART",         "SELLUNITS",
    "TRAINS"};

constexpr std::array<std::string_view, kFieldCount> kWritingKeys = {
    "",           "HotKey=",    "UnHotKey=",    "ResearchHotKey=",
    "Tip=",       "UnTip=",     "ResearchTip=", "ReviveTip=",
    "AwakenTip=", "ButtonPos=", "UnButtonPos=", "ResearchButtonPos=",
    "Name=",      "UberTip=",   "Art=",         "SellUnits=",
    "Trains="};

int CheckedIndex(int index) {
    if (index < 0 || index >= kFieldCount)
        throw std::out_of_range("field index " + std::to_string(index));
    return index;
}

} // namespace

std::string& TBindRec::operator[](int index) {
    return this->*kMembers[CheckedIndex(index)];
}

const std::string& TBindRec::operator[](int index) const {
    return this->*kMembers[CheckedIndex(index)];
}

std::string_view ReadingKey(int index) {
    return kReadingKeys[CheckedIndex(index)];
}

// Every key line of every file passes here.
int FieldOfReadingKey(std::string_view upperKey) {
    for (int i = fiHotkey; i < kFieldCount; ++i) {
        if (upperKey == kReadingKeys[static_cast<size_t>(i)])
            return i;
    }
    return -1;
}

std::string_view WritingKey(int index) {
    return kWritingKeys[CheckedIndex(index)];
}

} // namespace qm
