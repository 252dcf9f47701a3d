#include "net/host_list.h"

#include <algorithm>

namespace brumil::net {

std::string HostLine(const platform::net::HostAnswer& a) {
    return a.sessionName + " - " + std::to_string(a.players) + "/" + std::to_string(a.maxPlayers) +
           " - Latency:" + std::to_string(a.latencyMs) + " ms";
}

Long HostList::IndexOf(std::uint32_t instance) const {
    const auto same = [instance](const HostEntry& e) { return e.answer.instance == instance; };
    const auto it = std::find_if(entries_.begin(), entries_.end(), same);
    return it == entries_.end() ? -1 : static_cast<Long>(it - entries_.begin());
}

Long HostList::Add(const platform::net::HostAnswer& answer, platform::Millis now) {
    if (stopped_) return -1;
    const Long known = IndexOf(answer.instance);
    if (known >= 0) {
        entries_[static_cast<std::size_t>(known)] = {answer, now};
        return known;
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
