#include "platform/pixel/bmp_reader.h"

#include <SDL.h>

#include <cstring>
#include <limits>
#include <memory>

namespace brumil::platform {
namespace {

struct SurfaceFree {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SurfaceHandle = std::unique_ptr<SDL_Surface, SurfaceFree>;

// One channel of a packed pixel widened to 8 bits so that its largest value
// is 255 (full white stays white); 255 for a channel the format lacks.
std::uint32_t Channel(std::uint32_t pixel, std::uint32_t mask, std::uint8_t shift) {
    if (mask == 0) return 255;
    const std::uint32_t max = mask >> shift;
    const std::uint32_t v = (pixel & mask) >> shift;
    return (v * 255 + max / 2) / max;
}

// 16-bit pictures by their masks: the system's conversion widens a 6-bit
// channel to 254 at most.
void Widen16(const SDL_Surface& s, DecodedPicture& out) {
    const SDL_PixelFormat& f = *s.format;
    const auto* rows = static_cast<const std::uint8_t*>(s.pixels);
    for (int y = 0; y < s.h; ++y) {
        const std::uint8_t* row = rows + static_cast<std::size_t>(y) * s.pitch;
        std::uint32_t* to = out.argb.data() + static_cast<std::size_t>(y) * s.w;
        for (int x = 0; x < s.w; ++x) {
            const std::uint32_t p = row[2 * x] | static_cast<std::uint32_t>(row[2 * x + 1]) << 8;
            to[x] = Channel(p, f.Amask, f.Ashift) << 24 | Channel(p, f.Rmask, f.Rshift) << 16 |
                    Channel(p, f.Gmask, f.Gshift) << 8 | Channel(p, f.Bmask, f.Bshift);
        }
    }
}

}  // namespace

std::optional<DecodedPicture> DecodeBmpAnyKind(std::span<const std::uint8_t> bytes, int maxSide) {
    if (bytes.empty() || bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        return std::nullopt;
    }
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    if (rw == nullptr) return std::nullopt;
    // The reader closes the stream itself (second argument 1).
    SurfaceHandle loaded(SDL_LoadBMP_RW(rw, 1));
    if (!loaded) return std::nullopt;
    if (loaded->w < 1 || loaded->h < 1 || loaded->w > maxSide || loaded->h > maxSide) {
        return std::nullopt;
    }
    DecodedPicture out;
    out.width = loaded->w;
    out.height = loaded->h;
    out.argb.resize(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height));
    if (loaded->format->BytesPerPixel == 2 && loaded->format->palette == nullptr) {
        if (SDL_LockSurface(loaded.get()) != 0) return std::nullopt;
        Widen16(*loaded, out);
        SDL_UnlockSurface(loaded.get());
        return out;
    }
    SurfaceHandle argb(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_ARGB8888, 0));
    if (!argb) return std::nullopt;
    if (SDL_LockSurface(argb.get()) != 0) return std::nullopt;
    const auto* rows = static_cast<const std::uint8_t*>(argb->pixels);
    const std::size_t rowBytes = static_cast<std::size_t>(out.width) * 4;
    for (int y = 0; y < out.height; ++y) {
        std::memcpy(out.argb.data() + static_cast<std::size_t>(y) * out.width,
                    rows + static_cast<std::size_t>(y) * argb->pitch, rowBytes);
    }
    SDL_UnlockSurface(argb.get());
    return out;
}

}  // namespace brumil::platform
