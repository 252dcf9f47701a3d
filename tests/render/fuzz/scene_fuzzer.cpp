// libFuzzer entry over the scene text reader and the cell-text generators.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "scene_fuzz_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!brumil::render::fuzz::SceneFuzzOne({data, size}).empty()) std::abort();
    return 0;
}
