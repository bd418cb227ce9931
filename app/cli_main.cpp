#include "app/TCli.h"

#include <csignal>
#include <iostream>

int main(int argc, char** argv) {
    // Past a file-size limit a write then fails with EFBIG and the save
    // cleans up after itself, instead of the signal ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return qm::TCli().Run(args, std::cout, std::cerr);
}
