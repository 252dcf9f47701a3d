// SDL2's software renderer over a memory surface, for speed comparisons.
#include "bench/support/sdl_reference_renderer.h"

#include <SDL.h>

#include <vector>

namespace brumil::bench {

struct SdlReferenceRenderer::Impl {
    SDL_Surface* surface = nullptr;
    SDL_Renderer* renderer = nullptr;
    std::vector<SDL_Texture*> textures;

    ~Impl() {
        for (SDL_Texture* t : textures) SDL_DestroyTexture(t);
        if (renderer != nullptr) SDL_DestroyRenderer(renderer);
        if (surface != nullptr) SDL_FreeSurface(surface);
    }
};

SdlReferenceRenderer::SdlReferenceRenderer(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
SdlReferenceRenderer::~SdlReferenceRenderer() = default;

std::unique_ptr<SdlReferenceRenderer> SdlReferenceRenderer::Create(int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    auto impl = std::make_unique<Impl>();
    impl->surface = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
    if (impl->surface == nullptr) return nullptr;
    impl->renderer = SDL_CreateSoftwareRenderer(impl->surface);
    if (impl->renderer == nullptr) return nullptr;
    return std::unique_ptr<SdlReferenceRenderer>(new SdlReferenceRenderer(std::move(impl)));
}

int SdlReferenceRenderer::AddTexture(std::span<const std::uint32_t> argb, int width, int height,
                                     bool blend, bool linear) {
    if (width <= 0 || height <= 0 ||
        argb.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        return -1;
    }
    SDL_Texture* t = SDL_CreateTexture(impl_->renderer, SDL_PIXELFORMAT_ARGB8888,
                                       SDL_TEXTUREACCESS_STATIC, width, height);
    if (t == nullptr) return -1;
    SDL_UpdateTexture(t, nullptr, argb.data(), width * 4);
    SDL_SetTextureBlendMode(t, blend ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_NONE);
    SDL_SetTextureScaleMode(t, linear ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    impl_->textures.push_back(t);
    return static_cast<int>(impl_->textures.size()) - 1;
}

void SdlReferenceRenderer::Clear(std::uint32_t argb) {
    SDL_SetRenderDrawColor(impl_->renderer, (argb >> 16) & 255, (argb >> 8) & 255, argb & 255,
                           argb >> 24);
    SDL_RenderClear(impl_->renderer);
}

bool SdlReferenceRenderer::Draw(int texture, int sx, int sy, int sw, int sh, int x, int y, int w,
                                int h, double degrees) {
    if (texture < 0 || static_cast<std::size_t>(texture) >= impl_->textures.size()) return false;
    const SDL_Rect src{sx, sy, sw, sh};
    const SDL_Rect dst{x, y, w, h};
    SDL_Texture* t = impl_->textures[static_cast<std::size_t>(texture)];
    if (degrees == 0.0) return SDL_RenderCopy(impl_->renderer, t, &src, &dst) == 0;
    return SDL_RenderCopyEx(impl_->renderer, t, &src, &dst, degrees, nullptr, SDL_FLIP_NONE) == 0;
}

void SdlReferenceRenderer::Finish() {
    SDL_RenderFlush(impl_->renderer);
}

std::span<const std::uint32_t> SdlReferenceRenderer::Pixels() const {
    const SDL_Surface* s = impl_->surface;
    return {static_cast<const std::uint32_t*>(s->pixels),
            static_cast<std::size_t>(s->pitch / 4) * static_cast<std::size_t>(s->h)};
}

int SdlReferenceRenderer::Pitch() const {
    return impl_->surface->pitch / 4;
}

}  // namespace brumil::bench
