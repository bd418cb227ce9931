#pragma once
// Runs the command-line companion's dispatcher in the test process.

#include "app/TCli.h"

#include <sstream>
#include <string>
#include <vector>

namespace qm::test {

struct TCliResult {
    int code;
    std::string out, err;
};

inline TCliResult RunCli(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int code = TCli().Run(args, out, err);
    return {code, out.str(), err.str()};
}

} // namespace qm::test
