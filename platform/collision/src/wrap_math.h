#pragma once
// 32-bit arithmetic that wraps instead of overflowing: the library must stay
// defined on any record, including records of random words.

#include <cstdint>

namespace brumil::platform::collision::detail {

inline std::int32_t WrapAdd(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

inline std::int32_t WrapTo32(std::int64_t v) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(v)));
}

inline std::int32_t SaturateTo32(std::int64_t v) {
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<std::int32_t>(v);
}

inline bool Selected(std::int32_t group, std::int32_t selector) {
    return selector == -1 || group == selector;
}

}  // namespace brumil::platform::collision::detail
