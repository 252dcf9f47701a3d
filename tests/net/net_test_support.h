#pragma once
// Helpers of the network tests: log lines (the fake transport and effect
// sink are in net_fake_session.h).

#include <string>
#include <vector>

#include "net/net_session.h"
#include "net_fake_session.h"
#include "platform/net/peer_session.h"

namespace brumil::net::testing {

// The lines of a log text, without their CR LF.
std::vector<std::string> LogLines(const std::string& text);

}  // namespace brumil::net::testing
