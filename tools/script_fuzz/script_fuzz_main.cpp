// Usage: brumil_script_fuzz [seed] [count]
// Runs scripts 0 .. count-1 of the seeded run (default seed 1, 10000 scripts)
// and prints a summary; on a broken promise it prints the first failing
// script and exits with status 1.

#include <charconv>
#include <cstdint>
#include <iostream>
#include <string_view>

#include "script/script_fuzz.h"

namespace {

template <typename T>
T Argument(int argc, char** argv, int index, T fallback) {
    if (index >= argc) return fallback;
    const std::string_view s = argv[index];
    T value = fallback;
    const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    return ec == std::errc() && ptr == s.data() + s.size() ? value : fallback;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace brumil::script;
    const auto seed = Argument<std::uint64_t>(argc, argv, 1, 1);
    const auto count = Argument<brumil::Long>(argc, argv, 2, 10000);
    const FuzzSummary s = FuzzRun(seed, count);
    std::cout << "scripts " << s.cases << ", ended " << s.ended << ", steps " << s.steps
              << ", errors " << s.errors << ", failures " << s.failures << "\n";
    if (s.failures == 0) return 0;
    std::cout << "first failure: script " << s.firstFailure << ": " << s.fault << "\n"
              << FuzzCase(seed, s.firstFailure) << "\n";
    return 1;
}
