#include "lossy_relay.h"

#include <enet/enet.h>

#include <fstream>
#include <iostream>
#include <map>
#include <vector>

#include "platform/base/clock.h"

namespace brumil::tools {

namespace {

constexpr std::int32_t kQuietMs = 1500;

struct Held {
    bool toTarget;
    std::vector<char> bytes;
};

class Socket {
public:
    Socket() : s_(enet_socket_create(ENET_SOCKET_TYPE_DATAGRAM)) {
        if (s_ != ENET_SOCKET_NULL) enet_socket_set_option(s_, ENET_SOCKOPT_NONBLOCK, 1);
    }
    ~Socket() {
        if (s_ != ENET_SOCKET_NULL) enet_socket_destroy(s_);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    ENetSocket get() const { return s_; }

private:
    ENetSocket s_;
};

}  // namespace

int RunRelay(const RelayOptions& o) {
    if (enet_initialize() != 0) return 1;
    Socket front;
    Socket back;
    ENetAddress local{};
    enet_address_set_host_ip(&local, "127.0.0.1");
    local.port = 0;
    if (front.get() == ENET_SOCKET_NULL || back.get() == ENET_SOCKET_NULL ||
        enet_socket_bind(front.get(), &local) != 0 || enet_socket_bind(back.get(), &local) != 0) {
        std::cerr << "relay: cannot open its sockets\n";
        return 1;
    }
    ENetAddress bound{};
    enet_socket_get_address(front.get(), &bound);
    std::ofstream(o.portFile) << bound.port << "\n";

    ENetAddress target{};
    enet_address_set_host_ip(&target, "127.0.0.1");
    target.port = o.targetPort;
    ENetAddress client{};
    bool haveClient = false;

    platform::Clock& clock = platform::SystemClock();
    std::uint64_t rng = o.seed;
    const auto draw = [&rng](std::uint32_t n) {
        rng = rng * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<std::uint32_t>((rng >> 33) % n);
    };
    std::multimap<std::uint64_t, Held> held;  // by release time in microseconds
    long passed = 0;
    long dropped = 0;
    const platform::Millis end = platform::DeadlineAfter(clock.NowMs(), o.limitMs);
    char buf[2048];
    platform::Millis lastTraffic = clock.NowMs();
    // The run ends at the limit, or once both sides have been quiet for a while
    // after traffic began (the peers are done).
    while (
        !platform::DeadlinePassed(clock.NowMs(), end) &&
        !(haveClient && held.empty() && platform::MsSince(clock.NowMs(), lastTraffic) > kQuietMs)) {
        for (bool fromFront : {true, false}) {
            for (;;) {
                ENetAddress from{};
                ENetBuffer b{buf, sizeof buf};
                const int got =
                    enet_socket_receive(fromFront ? front.get() : back.get(), &from, &b, 1);
                if (got <= 0) break;
                lastTraffic = clock.NowMs();
                if (fromFront) {
                    client = from;
                    haveClient = true;
                }
                if (draw(100) < o.lossPercent) {
                    ++dropped;
                    continue;
                }
                const std::uint64_t at =
                    clock.NowMicros() + std::uint64_t{draw(o.maxDelayMs + 1)} * 1000;
                held.emplace(at, Held{fromFront, std::vector<char>(buf, buf + got)});
            }
        }
        const std::uint64_t now = clock.NowMicros();
        while (!held.empty() && held.begin()->first <= now) {
            Held& h = held.begin()->second;
            ENetBuffer b{h.bytes.data(), h.bytes.size()};
            if (h.toTarget) {
                enet_socket_send(back.get(), &target, &b, 1);
            } else if (haveClient) {
                enet_socket_send(front.get(), &client, &b, 1);
            }
            ++passed;
            held.erase(held.begin());
        }
        clock.SleepMs(1);
    }
    std::cout << "relay: passed " << passed << " dropped " << dropped << "\n";
    return 0;
}

}  // namespace brumil::tools
