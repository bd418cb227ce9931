#pragma once
// Debian's StormLib keeps its assertions, and a damaged archive can trip
// one while a sector is decompressed (an LZMA mark in an archive of the old
// format): the whole program would abort. Inside a guarded call such an
// assertion ends that call alone, as a failure; anywhere else an assertion
// aborts as usual.

namespace qm {

struct TStormAssertion {};

// Marks the calls into StormLib while it lives.
class TInsideStorm {
  public:
    TInsideStorm();
    ~TInsideStorm();
    TInsideStorm(const TInsideStorm&) = delete;
    TInsideStorm& operator=(const TInsideStorm&) = delete;
};

// Runs `call`, StormLib's calls inside it; false when StormLib failed one of
// its assertions meanwhile (whatever it had allocated for that call is lost).
template <class TCall> bool StormGuarded(TCall&& call) {
    const TInsideStorm inside;
    try {
        call();
        return true;
    } catch (const TStormAssertion&) {
        return false;
    }
}

} // namespace qm
