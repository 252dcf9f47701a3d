#pragma once
// A host name looked up on a thread of its own, so that a slow resolver never
// holds up the game thread.

#include <memory>
#include <mutex>
#include <string>

#include "platform/net/peer_session.h"

namespace brumil::platform::net {

// The system's resolver (IPv4).
std::string SystemNameLookup(const std::string& name);

class PendingLookup {
public:
    // Starts looking `name` up through `lookup`. Dropping the object abandons
    // the lookup: its thread finishes on its own and the answer goes nowhere.
    PendingLookup(NameLookup lookup, std::string name);

    // True once the answer is in; `numeric` then holds it (empty: no such host).
    bool Ready(std::string& numeric) const;

private:
    struct Shared {
        std::mutex mutex;
        bool done = false;
        std::string answer;
    };
    std::shared_ptr<Shared> shared_;
};

}  // namespace brumil::platform::net
