// Reading configuration files, alone and merged into a document, and the
// round trip: what the writer makes of a document reads back as the same
// document, but for the blanks at the end of values (a value cut short at
// "//" may end in blanks; lines are trimmed on reading), and from then on
// byte for byte. Written over the file it was read from, a document gives
// the file's own bytes, and once edited it reads back as edited.

#include "FuzzInput.h"
#include "config/uCfgManager.h"
#include "text/TextCodec.h"

#include <cstdlib>

namespace {

// The document as it reads back: values of blanks only are not written, a
// record with no value at all is left out, and values lose their end blanks.
std::vector<qm::TBindRec> AsWritten(const qm::TCfgManager& doc) {
    std::vector<qm::TBindRec> records;
    for (int r = 0; r < doc.Count(); ++r) {
        qm::TBindRec rec = doc.Records(r);
        bool any = false;
        for (int i = qm::fiHotkey; i < qm::kFieldCount; ++i) {
            any = any || !rec[i].empty();
            while (!rec[i].empty() && qm::IsTrimmable(rec[i].back()))
                rec[i].pop_back();
        }
        if (any)
            records.push_back(std::move(rec));
    }
    return records;
}

void Write(const qm::fuzz::TInputFile& file, const std::string& bytes) {
    qm::fuzz::WriteInput(file.path(), reinterpret_cast<const std::uint8_t*>(bytes.data()),
                         bytes.size());
}

std::vector<qm::TBindRec> Records(const qm::TCfgManager& doc) {
    std::vector<qm::TBindRec> records;
    for (int r = 0; r < doc.Count(); ++r)
        records.push_back(doc.Records(r));
    return records;
}

// A value cut before a "//" comment keeps its trailing blanks; written on a
// line of its own, as a removed twin section's values may be, it loses them
// on reading, since every line is trimmed.
std::string WithoutTrailingBlanks(std::string value) {
    while (!value.empty() && qm::IsTrimmable(value.back()))
        value.pop_back();
    return value;
}

// Fields 1-11 of the records that hold any of them: what the edit writer
// writes. A header that was the file's last line becomes a section once a
// record follows it, but holds nothing.
std::vector<std::vector<std::string>> EditFields(const qm::TCfgManager& doc) {
    std::vector<std::vector<std::string>> records;
    for (int r = 0; r < doc.Count(); ++r) {
        std::vector<std::string> fields;
        bool any = false;
        for (int i = qm::fiID; i <= qm::fiResearchbuttonpos; ++i) {
            fields.push_back(WithoutTrailingBlanks(doc.Records(r)[i]));
            any = any || (i > qm::fiID && !fields.back().empty());
        }
        if (any)
            records.push_back(std::move(fields));
    }
    return records;
}

// Every fourth record each: a hotkey set, a tooltip emptied, a position
// set, the record removed; and a record added.
void Edit(qm::TCfgManager& doc) {
    std::vector<const qm::TBindRec*> removed;
    for (int r = 0; r < doc.Count(); ++r) {
        qm::TBindRec& rec = doc.Records(r);
        switch (r % 4) {
        case 0:
            rec.Hotkey = "Z";
            break;
        case 1:
            rec.Tip.clear();
            break;
        case 2:
            rec.Buttonpos = "1,2";
            break;
        default:
            removed.push_back(&rec);
        }
    }
    for (const qm::TBindRec* rec : removed)
        doc.TakeRecord(*rec);
    doc.AddRecord("Zq9x").Hotkey = "Q";
}

void CheckEditWriter(const qm::TCfgManager& doc, const std::string& input,
                     const qm::fuzz::TInputFile& written) {
    if (doc.SerializeEdits() != input)
        std::abort();
    const auto edited = doc.Clone();
    Edit(*edited);
    Write(written, edited->SerializeEdits());
    if (EditFields(*qm::TCfgManager::CreateFromFile(written.path())) != EditFields(*edited))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static const qm::fuzz::TInputFile input("CustomKeys.txt");
    static const qm::fuzz::TInputFile written("Written.txt");
    qm::fuzz::WriteInput(input.path(), data, size);
    const auto doc = qm::TCfgManager::CreateFromFile(input.path());
    CheckEditWriter(*doc, std::string(reinterpret_cast<const char*>(data), size), written);
    Write(written, doc->Serialize(true));
    const auto again = qm::TCfgManager::CreateFromFile(written.path());
    const std::string bytes = again->Serialize(true);
    Write(written, bytes);
    if (Records(*again) != AsWritten(*doc) ||
        qm::TCfgManager::CreateFromFile(written.path())->Serialize(true) != bytes)
        std::abort();
    doc->LoadFromFile(input.path(), true);
    doc->Serialize(true);
    return 0;
}
