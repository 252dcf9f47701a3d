#pragma once
// The exchange both peers play and check, derived from a shared seed so that
// each side knows exactly what the other must have sent.

#include <cstdint>
#include <string>
#include <vector>

#include "core/vb_types.h"

namespace brumil::tools {

enum class Role { Host, Joiner };

struct PeerOptions {
    Role role = Role::Host;
    std::string address = "127.0.0.1";
    std::uint16_t port = 0;  // joiner: the port to join
    std::string portFile;    // host: where to write the port it got
    std::uint64_t seed = 1;
    Long frames = 300;
    std::uint32_t limitMs = 30000;  // the whole run
};

// One input message a side sends: the frame, its key bits and its life.
struct InputStep {
    Long frame;
    Long bits;
    Long life;
};

std::string PlayerName(Role role);
std::vector<std::string> ChatLines(Role role);
// Frames 1..frames of random presses and releases; only frames whose bits or
// life changed are listed (the side sends only on change).
std::vector<InputStep> InputPlan(Role role, std::uint64_t seed, Long frames);
// Set-up values the side sends with phase 3.
std::vector<Long> SetupValues(Role role, std::uint64_t seed);

// Runs the exchange; 0 when every check held, otherwise 1 with the reason on
// stderr.
int RunPeer(const PeerOptions& options);

}  // namespace brumil::tools
