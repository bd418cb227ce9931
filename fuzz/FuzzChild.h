#pragma once
// For targets whose code runs in forked children (the archive reading): the
// children's reports are kept apart, and a child that died is judged by
// where it died. What a child covers stays in the child, so the fuzzer
// mutates such inputs without guidance from it; StormLib itself carries no
// coverage anyway.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <fcntl.h>
#include <pthread.h>
#include <sanitizer/common_interface_defs.h>
#include <unistd.h>

namespace qm::fuzz {

inline std::filesystem::path& ChildLog() {
    static std::filesystem::path log;
    return log;
}

// A child writes its reports to `log`, not beside the fuzzer's, and dies as
// a plain process: the fuzzer's own death handling (a crash file, the final
// statistics) belongs to the parent.
inline void KeepChildrenApart(const std::filesystem::path& log) {
    ChildLog() = log;
    pthread_atfork(nullptr, nullptr, [] {
        __sanitizer_set_death_callback(nullptr);
        const int fd = open(ChildLog().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd >= 0) {
            dup2(fd, STDERR_FILENO);
            close(fd);
        }
    });
}

// Whether the last child died inside StormLib: its report's first stack (the
// place it died, not where memory was allocated) passes through the library.
// A child that died anywhere else died in our code.
inline bool LastChildDiedInStormLib() {
    std::ifstream in(ChildLog());
    bool inStack = false;
    for (std::string line; std::getline(in, line);) {
        const bool frame = line.rfind("    #", 0) == 0;
        if (inStack && !frame)
            return false;
        inStack = inStack || frame;
        if (frame && line.find("libstorm.so") != std::string::npos)
            return true;
    }
    return false;
}

// How many reading children died in StormLib, told when the fuzzer ends.
struct TStormCrashes {
    long count = 0;
    ~TStormCrashes() {
        std::fprintf(stderr, "reading children that died in StormLib: %ld\n", count);
    }
};
inline TStormCrashes stormCrashes;

// Fails the input, showing the child's report, unless StormLib was the one
// that died.
inline void ExpectStormLibCrash() {
    if (LastChildDiedInStormLib()) {
        ++stormCrashes.count;
        return;
    }
    std::ifstream in(ChildLog());
    std::string line;
    std::fprintf(stderr, "a reading child died in our code:\n");
    while (std::getline(in, line))
        std::fprintf(stderr, "%s\n", line.c_str());
    std::abort();
}

} // namespace qm::fuzz
