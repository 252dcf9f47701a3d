// brumil_net_peer --host --port-file F [--seed N] [--frames N] [--limit-ms N]
// brumil_net_peer --join PORT [--seed N] [--frames N] [--limit-ms N]
// brumil_net_peer --relay TARGET_PORT --port-file F [--seed N] [--loss PCT]
//                 [--delay MS] [--limit-ms N]
// Everything runs on 127.0.0.1.

#include <charconv>
#include <cstring>
#include <iostream>
#include <string>
#include <string_view>

#include "lossy_relay.h"
#include "peer_script.h"

namespace {

bool Number(std::string_view text, std::uint64_t& out) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc{} && end == text.data() + text.size();
}

int Usage() {
    std::cerr << "usage: brumil_net_peer (--host | --join PORT | --relay PORT) [--port-file F]"
                 " [--seed N] [--frames N] [--loss PCT] [--delay MS] [--limit-ms N]\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace brumil::tools;
    PeerOptions peer;
    RelayOptions relay;
    bool isRelay = false;
    bool haveMode = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        const bool hasValue = i + 1 < argc;
        std::uint64_t n = 0;
        const auto value = [&]() -> bool { return hasValue && Number(argv[++i], n); };
        if (a == "--host") {
            peer.role = Role::Host;
            haveMode = true;
        } else if (a == "--join" && value() && n > 0 && n <= 0xFFFF) {
            peer.role = Role::Joiner;
            peer.port = static_cast<std::uint16_t>(n);
            haveMode = true;
        } else if (a == "--relay" && value() && n > 0 && n <= 0xFFFF) {
            relay.targetPort = static_cast<std::uint16_t>(n);
            isRelay = haveMode = true;
        } else if (a == "--port-file" && hasValue) {
            peer.portFile = relay.portFile = argv[++i];
        } else if (a == "--seed" && value()) {
            peer.seed = relay.seed = n;
        } else if (a == "--frames" && value() && n > 0 && n < 100000) {
            peer.frames = static_cast<brumil::Long>(n);
        } else if (a == "--loss" && value() && n <= 100) {
            relay.lossPercent = static_cast<std::uint32_t>(n);
        } else if (a == "--delay" && value() && n <= 1000) {
            relay.maxDelayMs = static_cast<std::uint32_t>(n);
        } else if (a == "--limit-ms" && value() && n > 0 && n <= 600000) {
            peer.limitMs = relay.limitMs = static_cast<std::uint32_t>(n);
        } else {
            return Usage();
        }
    }
    if (!haveMode) return Usage();
    if (isRelay) return relay.portFile.empty() ? Usage() : RunRelay(relay);
    if (peer.role == Role::Host && peer.portFile.empty()) return Usage();
    return RunPeer(peer);
}
