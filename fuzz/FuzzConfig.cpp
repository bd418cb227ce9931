// Reading configuration files, alone and merged into a document, and the
// round trip: what the writer makes of a document reads back as the same
// document, but for the blanks at the end of values (a value cut short at
// "//" may end in blanks; lines are trimmed on reading), and from then on
// byte for byte.

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static const qm::fuzz::TInputFile input("CustomKeys.txt");
    static const qm::fuzz::TInputFile written("Written.txt");
    qm::fuzz::WriteInput(input.path(), data, size);
    const auto doc = qm::TCfgManager::CreateFromFile(input.path());
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
