#include "net/host_list.h"

#include <algorithm>

namespace brumil::net {

std::string HostLine(const platform::net::HostAnswer& a) {
    return a.sessionName + " - " + std::to_string(a.players) + "/" + std::to_string(a.maxPlayers) +
           " - Latency:" + std::to_string(a.latencyMs) + " ms";
}

Long HostList::Add(const platform::net::HostAnswer& answer, platform::Millis now) {
    if (stopped_) return -1;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].answer.instance == answer.instance) {
            entries_[i] = {answer, now};
            return static_cast<Long>(i);
        }
    }
    entries_.push_back({answer, now});
    return static_cast<Long>(entries_.size()) - 1;
}

Long HostList::Expire(platform::Millis now) {
    const auto old = [now](const HostEntry& e) {
        return platform::MsSince(now, e.LastSeen) > static_cast<Long>(platform::net::kHostExpiryMs);
    };
    const auto removed = std::erase_if(entries_, old);
    return static_cast<Long>(removed);
}

}  // namespace brumil::net
