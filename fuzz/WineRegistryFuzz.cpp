// Any bytes as a Wine user.reg, and any text as a Windows path.
#include "platform/TWineRegistry.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    qm::TWineRegistry registry;
    if (registry.Parse(text)) {
        if (const auto path =
                registry.Value("Software\\Blizzard Entertainment\\Warcraft III", "InstallPath"))
            (void)qm::TWineRegistry::MapPath("/tmp", *path);
    }
    (void)qm::TWineRegistry::MapPath("/tmp", text);
    return 0;
}
