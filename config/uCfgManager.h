#pragma once
// A configuration document: the action records of one CustomKeys-format file,
// kept in identifier order. Records are owned one by one, so a reference to a
// record stays valid across Sort and AddRecord until the record's document is
// cleared, re-read or destroyed.

#include "config/uBindRec.h"

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

class TCfgManager {
  public:
    // LoadFromFile's result when reading failed after the file was opened.
    static constexpr int kReadError = -1;

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

    // Reads the sections of a file and returns how many were read (merged
    // ones included): 0 for a missing or unreadable file (document unchanged),
    // kReadError when reading broke off. Without `merge` the document is
    // replaced by the file's sections in file order; with it, a section whose
    // trimmed identifier is already held gives its non-empty values to that
    // record and any other section is appended. `why` as for CreateFromFile,
    // set whenever the result is 0 or kReadError.
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
    // An independent copy: the same records and FileName.
    std::unique_ptr<TCfgManager> Clone() const;
    // Binary search for an identifier equal byte for byte; nullptr when none.
    TBindRec* FindRecord(std::string_view id);
    const TBindRec* FindRecord(std::string_view id) const;
    // The first record in list order whose trimmed identifier equals the
    // trimmed `id`; works on an unsorted list.
    TBindRec* FindRecordLinear(std::string_view id);
    const std::filesystem::path& FileName() const { return fileName_; }

    // Writes the document in the CustomKeys format, replacing the file only
    // once the new content is complete. False, with the file untouched, for an
    // empty document ("nothing to write") or when anything fails (the
    // system's reason), the reason in `why` when given.
    bool SaveToFile(const std::filesystem::path& path, bool withDataFields,
                    std::string* why = nullptr) const;
    // The file content SaveToFile writes.
    std::string Serialize(bool withDataFields) const;
    // Same number of records, and fields 0-11 equal position by position.
    bool SameAs(const TCfgManager& other) const;
    // Each record takes the non-empty fields of the other document's first
    // record with exactly the same identifier.
    void Overlay(const TCfgManager& other);
    // Fills the record's empty fields from this document's record with the
    // same identifier, if there is one.
    void FillEmptyFields(TBindRec& record) const;

  private:
    std::vector<std::unique_ptr<TBindRec>> records_;
    std::filesystem::path fileName_;
};

// Record helpers.
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
