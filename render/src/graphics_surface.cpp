// CGraphics: making, filling and dropping the off-screen surface or texture.

#include "framework/display.h"
#include "image/cmg_bbi_function.h"
#include "render/graphics.h"

namespace brumil::render {

using framework::gBackDDS;
using framework::IsDDSAlive;
using image::gBBIFunction;

void CGraphics::DropSurface() {
    Surface.reset();
    surfaceExists_ = false;
    surfaceFilled_ = false;
}

void CGraphics::UpdateTexCoords() {
    surfaceWidth_ = framework::GetDDSWidth(Surface);
    surfaceHeight_ = framework::GetDDSHeight(Surface);
    if (surfaceWidth_ > 0) {
        texU_ = static_cast<Single>(SourceWidth()) / static_cast<Single>(surfaceWidth_);
    }
    if (surfaceHeight_ > 0) {
        texV_ = static_cast<Single>(SourceHeight()) / static_cast<Single>(surfaceHeight_);
    }
}

void CGraphics::HalveSource() {
    if (halfLevel_ == 0) {
        gBBIFunction().BBIBltHalfSize(reducedImage_, Image);
    } else {
        gBBIFunction().BBIBltHalfSize(reducedImage_, reducedImage_);
    }
    ++halfLevel_;
}

bool CGraphics::ExistDDS(bool fill) {
    if (surfaceIsTexture_) {
        surfaceIsTexture_ = false;
        surfaceExists_ = false;
    }
    // The off-screen surface always holds the picture at full size.
    halfLevel_ = 0;
    if (Surface && Surface->IsLost()) DropSurface();
    if (!surfaceExists_ || !Surface) {
        if (!IsDDSAlive(gBackDDS())) return false;
        const bool system = UseSystemMemory || framework::gUseHardwareDevice() == 0;
        Surface = framework::CreateOffscreenDDS(Image.GetWidth(), Image.GetHeight(), system, 0);
        if (!Surface) {
            surfaceExists_ = false;
            return false;
        }
        UpdateTexCoords();
        surfaceExists_ = true;
        surfaceFilled_ = false;
    }
    if (fill && !surfaceFilled_) {
        if (!IsDDSAlive(gBackDDS())) return false;
        Image.BltToDDS(Surface.get(), 0, 0);
        framework::SetColorKeyDDS(Surface, false, 0);
        surfaceFilled_ = true;
    }
    return Surface != nullptr;
}

bool CGraphics::ExistDDSTexture(bool fill, bool alpha) {
    if (!surfaceIsTexture_) {
        surfaceIsTexture_ = true;
        surfaceExists_ = false;
        halfLevel_ = 0;
    }
    // Halve the picture until it fits the texture limit. Without a limit
    // (a device whose textures reach 1024 or more) a picture larger than the
    // device's largest texture would make none at all: halve it to fit that.
    Long limit = framework::GetTextureLimit();
    if (limit == 0) limit = framework::GetTextureSideMax();
    if (limit >= 32 && (SourceWidth() > limit || SourceHeight() > limit)) {
        HalveSource();
        return ExistDDSTexture(fill, alpha);
    }
    // A half-size display shows pictures at half size: halve once.
    if (framework::GetHalfSizeOffset() == 32.0f && halfLevel_ == 0 &&
        (SourceWidth() > 32 || SourceHeight() > 32)) {
        HalveSource();
    }
    if (Surface && (Surface->IsLost() || Surface->Width() < SourceWidth() ||
                    Surface->Height() < SourceHeight())) {
        DropSurface();
    }
    if (!surfaceExists_ || !Surface) {
        if (!IsDDSAlive(gBackDDS())) return false;
        switch (CreateTextureSurface(SourceWidth(), SourceHeight(), alpha)) {
            case TextureMade::Failed:
                return false;
            case TextureMade::Retry:
                // The limit was lowered and video memory released: every
                // graphic, this one included, has dropped its surface and its
                // halving, so start again from the state as it is now.
                return ExistDDSTexture(fill, alpha);
            case TextureMade::Made:
                break;
        }
        UpdateTexCoords();
        surfaceExists_ = true;
        surfaceFilled_ = false;
    }
    if (fill && !surfaceFilled_) {
        if (!IsDDSAlive(gBackDDS())) return false;
        Source().BltToDDS(Surface.get(), 0, 0);
        framework::SetColorKeyDDS(Surface, true, 0);
        surfaceFilled_ = true;
    }
    return Surface != nullptr;
}

CGraphics::TextureMade CGraphics::CreateTextureSurface(Long width, Long height, bool alpha) {
    const bool hardware = framework::gUseHardwareDevice() != 0;
    const Long limit = framework::GetTextureLimit();
    platform::SurfacePtr made;
    if (hardware && limit != 1) {
        if (framework::CreateDDS(made, width, height, true, alpha, 0,
                                 framework::DDSCAPS_VIDEOMEMORY | framework::DDSCAPS_LOCALVIDMEM,
                                 0) != 0) {
            // Raises VideoMemoryRelease: this object's state is gone too.
            framework::UpdateTextureLimit();
            return TextureMade::Retry;
        }
        // The margin beyond the picture must be transparent black.
        if (made->Width() > width || made->Height() > height) {
            framework::BltDDSColorFill(made, 0, 0, 0, 0, 0, false);
        }
    } else if (hardware) {
        if (framework::CreateDDS(made, width, height, true, alpha, 0, 0,
                                 framework::DDSCAPS2_TEXTUREMANAGE) != 0) {
            return TextureMade::Failed;
        }
    } else {
        if (framework::CreateDDS(made, width, height, true, alpha, 0,
                                 framework::DDSCAPS_SYSTEMMEMORY, 0) != 0) {
            return TextureMade::Failed;
        }
    }
    Surface = std::move(made);
    return TextureMade::Made;
}

void CGraphics::LoadDDSTex(const platform::SurfacePtr& source, Long width, Long height) {
    Add(width, height, false);
    if (!IsDDSAlive(source) || !ExistDDSTexture(false, false)) return;
    // The content goes into the picture at once, so that a later picture
    // operation, Refresh or Release cannot lose it.
    const platform::SurfaceRect whole{0, 0, Image.GetWidth(), Image.GetHeight()};
    if (halfLevel_ == 0) {
        Surface->Blt(whole, *source, source->Rect(), false);
        Image.BltToBBIGetDDS(Surface.get());
        surfaceFilled_ = true;
    } else {
        // The texture holds a halved picture: stretch through a plain
        // surface of the picture's size, and let the next draw refill.
        platform::SurfaceDesc desc;
        desc.width = whole.x2;
        desc.height = whole.y2;
        desc.format = platform::PixelFormat::Argb8888;
        const auto temp = platform::Surface::Create(desc);
        if (!temp) return;
        temp->Blt(whole, *source, source->Rect(), false);
        Image.BltToBBIGetDDS(temp.get());
        Refresh();
    }
}

}  // namespace brumil::render
