#pragma once
// A configuration document: the action records of one CustomKeys-format file,
// kept in identifier order. Records are owned one by one, so a reference to a
// record stays valid across Sort and AddRecord until the record's document is
// cleared, re-read or destroyed. A document read from one file keeps that
// file's layout, so that it can be written back with only its edits.

#include "config/uBindRec.h"
#include "config/uFileLayout.h"
#include "text/TextCodePage.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

class TCfgManager {
  public:
    // A configuration file larger than this is refused on reading.
    static constexpr std::uintmax_t kMaxFileSize = 64u << 20;

    TCfgManager() = default;
    TCfgManager(const TCfgManager&) = delete;
    TCfgManager& operator=(const TCfgManager&) = delete;

    // An empty document with an empty FileName.
    static std::unique_ptr<TCfgManager> Create();
    // Reads a file without merging; when it held at least one section the
    // document is sorted and FileName is `path`, otherwise FileName is empty
    // and `why`, when given, says why (see uFileError.h: the system's reason,
    // or "holds no section").
    static std::unique_ptr<TCfgManager> CreateFromFile(const std::filesystem::path& path,
                                                       std::string* why = nullptr);
    // The document a file holding `bytes` gives, its FileName `path`: what
    // was just written there, without reading it back.
    static std::unique_ptr<TCfgManager> CreateFromBytes(std::string bytes,
                                                        const std::filesystem::path& path);

    // Reads the sections of a file and returns how many were read (merged
    // ones included): 0 for a missing, unreadable or oversized file (document
    // unchanged). Without `merge` the document is replaced by the file's
    // sections in file order, and keeps the file's layout; with it, a
    // section gives its non-empty values to the record held under its
    // trimmed identifier, else to one whose identifier differs only in
    // ASCII case unless the file also spells that one, and any other section
    // is appended; the document then has no layout. `why` as for
    // CreateFromFile, set whenever the result is 0 (for a file over
    // kMaxFileSize, see TooLargeWhy).
    int LoadFromFile(const std::filesystem::path& path, bool merge, std::string* why = nullptr);

    // Stable sort by the identifiers' bytes: equal identifiers keep their order.
    void Sort();
    int Count() const { return static_cast<int>(records_.size()); }
    // The record at a 0-based list position; throws std::out_of_range outside.
    TBindRec& Records(int index);
    const TBindRec& Records(int index) const;
    void Clear();
    // A new record with `id` as given and all other fields empty, inserted at
    // its sorted place (after the records with the same identifier).
    TBindRec& AddRecord(std::string_view id);
    // Hands a record over, removed from the document; its list position in
    // `at` when asked. nullptr when the record is not this document's.
    std::unique_ptr<TBindRec> TakeRecord(const TBindRec& record, int* at = nullptr);
    // Puts a record back at a list position TakeRecord gave (clamped to the
    // list), so that an undone removal restores the order exactly.
    TBindRec& InsertRecord(std::unique_ptr<TBindRec> record, int at);
    // Every record handed over in list order; the document is left empty.
    std::vector<std::unique_ptr<TBindRec>> TakeAll();
    // Replaces the records by these, in this order.
    void PutAll(std::vector<std::unique_ptr<TBindRec>> records);
    // An independent copy: the same records and FileName, sharing the layout.
    std::unique_ptr<TCfgManager> Clone() const;
    // The record whose identifier equals `id` byte for byte, else (as the
    // game finds sections) the first in list order whose identifier differs
    // from it only in ASCII case; nullptr when none. Binary searches: the
    // list must be sorted.
    TBindRec* FindRecord(std::string_view id);
    const TBindRec* FindRecord(std::string_view id) const;
    // The first record in list order whose trimmed identifier equals the
    // trimmed `id`, else the first that differs from it only in ASCII case;
    // works on an unsorted list.
    TBindRec* FindRecordLinear(std::string_view id);
    const std::filesystem::path& FileName() const { return fileName_; }
    // The file the document was read from, as it was read; null for one
    // that was created or merged.
    const TFileLayout* Layout() const { return layout_.get(); }

    // Writes the document in the CustomKeys format, replacing the file only
    // once the new content is complete. False, with the file untouched, for an
    // empty document ("nothing to write") or when anything fails (the
    // system's reason), the reason in `why` when given.
    bool SaveToFile(const std::filesystem::path& path, bool withDataFields,
                    std::string* why = nullptr) const;
    // The file content SaveToFile writes.
    std::string Serialize(bool withDataFields) const;
    // The file the document was read from with only the values that differ
    // from it changed (see uEditWriter.h); with no layout, Serialize(false).
    std::string SerializeEdits() const;
    // Writes SerializeEdits as SaveToFile writes; without a layout an empty
    // document is "nothing to write".
    bool SaveEdits(const std::filesystem::path& path, std::string* why = nullptr) const;
    // Same number of records; paired in the order of their identifiers
    // without regard to ASCII case, the identifiers differ at most in case
    // and fields 1-11 are equal.
    bool SameAs(const TCfgManager& other) const;
    // Each record takes the non-empty fields of the other document's first
    // record with exactly the same identifier, else of its first record whose
    // identifier differs only in ASCII case.
    void Overlay(const TCfgManager& other);
    // Fills the record's empty fields from this document's record found by
    // FindRecord, if there is one.
    void FillEmptyFields(TBindRec& record) const;

  private:
    int ReadSections(std::string bytes);
    int MergeSections(const TFileLayout& file);
    TBindRec* FindOtherCase(std::string_view id);
    std::vector<const TBindRec*> InFoldedOrder() const;

    std::vector<std::unique_ptr<TBindRec>> records_;
    std::filesystem::path fileName_;
    std::shared_ptr<const TFileLayout> layout_;
};

// How the document's values are stored (see TEncodingGuess): the code page
// of those that are not UTF-8, and whether new text goes in as UTF-8.
TTextEncoding DetectEncoding(const TCfgManager& document);

// Record helpers.
// Whether Serialize writes the record: it has an identifier and a value.
bool IsWritten(const TBindRec& record);
// Appends the record as Serialize writes it, its lines ended by `lineEnd`.
void AppendRecordText(std::string& out, const TBindRec& record, bool withDataFields,
                      std::string_view lineEnd = "\r\n");
const std::string& GetField(const TBindRec& record, int index);
// The first non-empty field among indexes from..to; empty when none.
std::string FirstNonEmptyField(const TBindRec& record, int from, int to);
void CopyNonEmptyFields(TBindRec& target, const TBindRec& source);

// A command-card position "column,row". (-1, -1) unless the text holds
// exactly two items; Ok is false when one of them is not an integer.
struct TButtonPos {
    int Col = -1;
    int Row = -1;
    bool Ok = true;
};
TButtonPos ParseButtonPos(std::string_view text);

// The plain characters of colour markup.
std::string RemoveColorCodes(std::string_view markup);

} // namespace qm
