#pragma once
// A UDP relay on loopback that loses and delays datagrams, for running two
// peers over a bad line: it listens on a port of its own, passes what the
// first client sends on to the target port and the answers back, dropping
// `lossPercent` of them and holding each of the rest up to `maxDelayMs`.

#include <cstdint>
#include <string>

namespace brumil::tools {

struct RelayOptions {
    std::uint16_t targetPort = 0;
    std::string portFile;  // where to write the relay's own port
    std::uint64_t seed = 1;
    std::uint32_t lossPercent = 10;
    std::uint32_t maxDelayMs = 40;
    std::uint32_t limitMs = 30000;  // the relay stops after this long
};

// Runs until the time limit; 0 on a normal end.
int RunRelay(const RelayOptions& options);

}  // namespace brumil::tools
