#pragma once
// A bounded wait for tests over real sockets: polls until a condition holds
// or a span of real time has passed.

#include <cstdint>
#include <functional>

#include "platform/base/clock.h"

namespace brumil::testing {

// Runs `poll`, then asks `done`, until `done` answers true or `ms` of the
// system clock pass; true when done. `poll` paces itself (a sleep, a socket
// wait) where the loop should not spin.
inline bool PollUntil(const std::function<void()>& poll, const std::function<bool()>& done,
                      std::uint32_t ms = 3000) {
    platform::Clock& clock = platform::SystemClock();
    const platform::Millis deadline = platform::DeadlineAfter(clock.NowMs(), ms);
    while (!platform::DeadlinePassed(clock.NowMs(), deadline)) {
        poll();
        if (done()) return true;
    }
    return false;
}

}  // namespace brumil::testing
