#pragma once

// The clock of the listings for the length of a test: it stands ahead of
// the file system's by as much time as the test let pass, so that the files
// written so far are older for the next listing than its start by that
// much, without waiting for it.
#include "publish/DigestCache.h"

class MovableClock {
public:
    MovableClock()
    {
        lq::setListingClock([this](qint64 stamped) { return stamped + _ahead; });
    }
    ~MovableClock() { lq::setListingClock({}); }
    MovableClock(const MovableClock&) = delete;
    MovableClock& operator=(const MovableClock&) = delete;

    // More time than the coarsest steps of a file system's clock (two
    // seconds): every file written so far may be remembered.
    void letTimePass() { _ahead += 3'000'000'000; }

private:
    qint64 _ahead = 0;
};
