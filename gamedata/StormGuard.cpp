#include "gamedata/StormGuard.h"

#include <cstdio>
#include <cstdlib>

namespace qm {
namespace {
int insideStorm = 0;
} // namespace

TInsideStorm::TInsideStorm() {
    ++insideStorm;
}

TInsideStorm::~TInsideStorm() {
    --insideStorm;
}

} // namespace qm

// The C library's handler of failed assertions, which the executable's own
// definition replaces for StormLib too. Outside StormLib it does what the C
// library's does.
extern "C" [[noreturn]] void __assert_fail(const char* assertion, const char* file,
                                           unsigned int line, const char* function) {
    if (qm::insideStorm > 0)
        throw qm::TStormAssertion{};
    std::fprintf(stderr, "%s:%u: %s: Assertion `%s' failed.\n", file, line, function, assertion);
    std::abort();
}
