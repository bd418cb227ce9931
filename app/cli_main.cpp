#include "app/TCli.h"

#include <iostream>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return qm::TCli().Run(args, std::cout, std::cerr);
}
