// Rewriting tree files: both passes over any bytes, against a small default
// configuration.

#include "FuzzInput.h"
#include "gamedata/TreeRewrite.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static const qm::fuzz::TInputFile tree("TV.wrk");
    static const qm::fuzz::TInputFile defaults("DefaultKeys.wrk");
    static const bool written = [] {
        std::ofstream(defaults.path(), std::ios::binary)
            << "[hfoo]\nName=|cffff0000Foot\"man|r\nArt=A\\BTNFootman.blp\n[hpea]\n"
               "Tip=Train |cffffcc00P|reasant (P)\n";
        return true;
    }();
    (void)written;
    qm::fuzz::WriteInput(tree.path(), data, size);
    if (!qm::ClearTVNames(tree.path()) || !qm::FillTVFromDefaults(tree.path(), defaults.path()))
        std::abort(); // a readable, writable file is always rewritten
    return 0;
}
