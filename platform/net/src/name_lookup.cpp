#include "name_lookup.h"

#include <enet/enet.h>

#include <system_error>
#include <thread>

namespace brumil::platform::net {

std::string SystemNameLookup(const std::string& name) {
    ENetAddress address{};
    if (enet_address_set_host(&address, name.c_str()) != 0) return {};
    char text[64] = {};
    if (enet_address_get_host_ip(&address, text, sizeof text) != 0) return {};
    return text;
}

PendingLookup::PendingLookup(NameLookup lookup, std::string name)
    : shared_(std::make_shared<Shared>()) {
    // The thread holds its own share of the answer and its own copy of the
    // resolver, so it may outlive this object and the session.
    auto work = [shared = shared_, lookup = std::move(lookup), name = std::move(name)] {
        std::string answer = lookup ? lookup(name) : SystemNameLookup(name);
        const std::lock_guard lock(shared->mutex);
        shared->answer = std::move(answer);
        shared->done = true;
    };
    try {
        std::thread(std::move(work)).detach();
    } catch (const std::system_error&) {
        // No thread to be had: the lookup fails at once.
        shared_->done = true;
    }
}

bool PendingLookup::Ready(std::string& numeric) const {
    const std::lock_guard lock(shared_->mutex);
    if (!shared_->done) return false;
    numeric = shared_->answer;
    return true;
}

}  // namespace brumil::platform::net
