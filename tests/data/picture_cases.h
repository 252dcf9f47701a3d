#pragma once
// The pictures of the data set: every name the game loads, with the size and
// the kind of picture its users expect.

#include <cstdint>
#include <string>
#include <vector>

#include "image/cmg_bbi.h"

namespace brumil::datatest {

enum class Kind {
    Opaque,  // 24-bit, alpha 255 everywhere
    Alpha,   // 32-bit with transparent and visible pixels
    Light,   // 32-bit light on black: alpha equals the brightest channel
    Keyed,   // 24-bit on the colour of its top-left pixel
};

struct PictureCase {
    std::string name;  // below "\data\", folders separated by "\"
    int width, height;
    Kind kind;
};

std::vector<PictureCase> AllPictures();

inline std::uint32_t Alpha(std::uint32_t p) {
    return p >> 24;
}
std::uint32_t Brightest(std::uint32_t p);

// Checks that a loaded picture is of the case's kind (its size is the caller's).
void ExpectKind(const image::CmgBBI& pic, const PictureCase& c);

}  // namespace brumil::datatest
