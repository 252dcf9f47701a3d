#pragma once
// Windows bitmap files of every kind the system's reader takes: palette
// pictures of 1, 4 and 8 bits, run-length coded 4- and 8-bit pictures, 16-bit
// pictures (5-5-5 or by colour masks), 24- and 32-bit pictures, and the older
// 12-byte header. Pictures come out as 32-bit ARGB (0xAARRGGBB), rows top to
// bottom; a kind without alpha comes out opaque.

#include <optional>
#include <span>

#include "platform/pixel/jpeg_codec.h"

namespace brumil::platform {

// Nothing when the bytes are not a bitmap the reader takes, are damaged, or
// the picture is larger than maxSide in either direction.
std::optional<DecodedPicture> DecodeBmpAnyKind(std::span<const std::uint8_t> bytes, int maxSide);

}  // namespace brumil::platform
