#pragma once
// Robustness runs of the interpreter over random and mutated scripts.
//
// Each script is compiled under a fixed host (commands "say" 100 and "ask"
// 101, the extension "ext", integers "n" and "m" with three elements, the
// text "s") and stepped at most a bounded number of times. A run checks that
// the interpreter keeps its promises to a host whatever the text: every
// handed-back kind is one it can hand back, each posted error reached the
// AddError handler exactly once, the program stays ended once it has ended,
// and the listing has no more lines than the program has commands. Crashes
// and hangs show as such (the sanitizers and the step bound make them
// visible).

#include <cstdint>
#include <string>
#include <string_view>

#include "core/vb_types.h"

namespace brumil::script {

inline constexpr Long kFuzzStepLimit = 10000;

struct FuzzOutcome {
    Long steps = 0;      // Coming calls made
    bool ended = false;  // kind -1 was handed back
    Long errors = 0;     // errors posted
    std::string fault;   // the first broken promise, "" when none
};

// Compiles and steps one script; `seed` feeds the interpreter's random choices.
FuzzOutcome FuzzScript(std::string_view source, std::uint64_t seed,
                       Long stepLimit = kFuzzStepLimit);

// Script number `index` of the run seeded by `seed`: built from the language's
// pieces (Japanese, CR, LF, "$" and bracket runs included), or a sample script
// put through random mutations. The same pair always gives the same script.
std::string FuzzCase(std::uint64_t seed, Long index);

struct FuzzSummary {
    Long cases = 0;
    Long ended = 0;     // scripts that ran to their end within the bound
    Long steps = 0;     // all Coming calls
    Long errors = 0;    // all errors posted
    Long failures = 0;  // scripts with a broken promise
    Long firstFailure = -1;
    std::string fault;  // the first failure's description
};

// Runs scripts 0 .. count-1 of the run seeded by `seed`.
FuzzSummary FuzzRun(std::uint64_t seed, Long count, Long stepLimit = kFuzzStepLimit);

}  // namespace brumil::script
