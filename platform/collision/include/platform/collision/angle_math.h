#pragma once
// The library's angle and length maths. Integer only, the same on every
// machine. Angles are 4096 per turn; angle 0 points along +x and 1024 along +y
// (downwards on screen). Any angle is accepted: tables are indexed with
// angle And 4095, so negative and huge angles read the same cell as their
// residue.

#include <cstdint>

namespace brumil::platform::collision {

// Cosine and sine scaled by 256: nearest(256 cos) and nearest(256 sin) of the
// angle, from a 4096-entry table (ACT(0) 256, AST(1024) 256, ACT(2048) -256).
std::int32_t ACT(std::int32_t angle);
std::int32_t AST(std::int32_t angle);

// The angle 0..4095 of the vector (dx, dy), y downwards, rounded to the
// nearest whole angle (compared against the tangents of the half-way angles
// in integers). AHT(0, 0) is 0. AHT(ACT(a), AST(a)) gives a back within 2:
// the table's rounding to 1/256 moves its vectors by up to 1.8 angle units.
std::int32_t AHT(std::int32_t dx, std::int32_t dy);

// floor(sqrt(dx^2 + dy^2)) computed in 64 bits; clamped to the int32 range.
std::int32_t ALT(std::int32_t dx, std::int32_t dy);

// The signed turn from a toward b: ((b - a) And 4095), minus 4096 when that is
// at least 2048; so -2048..2047.
std::int32_t AFT(std::int32_t a, std::int32_t b);

// A whole number 0..n-1 from the library's own generator (seeded by Reset);
// 0 without drawing when n <= 0.
std::int32_t ART(std::int32_t n);

}  // namespace brumil::platform::collision
