// Button positions from any text: a position read back from its own
// "column,row" form is the same position.

#include "config/uCfgManager.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const qm::TButtonPos pos = qm::ParseButtonPos(text);
    if (!pos.Ok && (pos.Col != -1 || pos.Row != -1))
        std::abort();
    if (pos.Ok && (pos.Col != -1 || pos.Row != -1)) {
        const auto again =
            qm::ParseButtonPos(std::to_string(pos.Col) + "," + std::to_string(pos.Row));
        if (!again.Ok || again.Col != pos.Col || again.Row != pos.Row)
            std::abort();
    }
    return 0;
}
