// Reading configuration files, alone and merged into a document.

#include "FuzzInput.h"
#include "config/uCfgManager.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static const qm::fuzz::TInputFile input("CustomKeys.txt");
    const auto& file = input.path();
    qm::fuzz::WriteInput(file, data, size);
    const auto doc = qm::TCfgManager::CreateFromFile(file);
    doc->LoadFromFile(file, true);
    doc->Serialize(true);
    return 0;
}
