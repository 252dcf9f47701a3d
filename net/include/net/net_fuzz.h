#pragma once
// A fuzz entry over what a hostile peer controls: the message decoder, the
// receiver and the search answer. Cases come from seeded random bytes and
// mutations of well-formed messages; each is checked against what must hold
// whatever arrives (clean log lines, masked bits, records of strangers left
// alone). A bounded run of it is part of the test suite.

#include <cstdint>
#include <string>

#include "core/vb_types.h"

namespace brumil::net {

struct NetFuzzSummary {
    Long cases = 0;
    Long failures = 0;
    Long firstFailure = -1;  // index of the first failing case
    std::string fault;       // what went wrong in it
    Long decoded = 0;        // cases that decoded as a message
    Long answers = 0;        // cases that decoded as a search answer
};

// The bytes of case `index` of the run with `seed`.
std::string NetFuzzCase(std::uint64_t seed, Long index);
// Checks one input; returns the fault, empty when every rule held.
std::string NetFuzzOne(const std::string& bytes, bool& decoded, bool& answer);
NetFuzzSummary NetFuzzRun(std::uint64_t seed, Long count);

}  // namespace brumil::net
