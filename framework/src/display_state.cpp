// Display start-up, shut-down and re-creation, and the display globals.
#include "display_state.h"

#include <algorithm>

#include "framework/splib.h"
#include "platform/gfx/soft_device.h"

namespace brumil::framework {

namespace detail {

DisplayState& State() {
    static DisplayState state;
    return state;
}

void Register(const SurfacePtr& s) {
    auto& made = State().made;
    std::erase_if(made, [](const std::weak_ptr<platform::Surface>& w) { return w.expired(); });
    made.push_back(s);
}

}  // namespace detail

using detail::State;

namespace {

SurfacePtr MakeChainSurface(Long w, Long h, platform::PixelFormat f) {
    platform::SurfaceDesc d;
    d.width = w;
    d.height = h;
    d.format = f;
    d.memory = platform::MemoryKind::System;
    SurfacePtr s = platform::Surface::Create(d);
    if (s) detail::Register(s);
    return s;
}

// Drops the chain; every surface of the old device counts as lost.
void ReleaseChain() {
    auto& st = State();
    for (auto& w : st.made) {
        if (auto s = w.lock()) s->MarkLost();
    }
    st.made.clear();
    st.device.reset();
    st.back.reset();
    st.work.reset();
    st.zbuffer.reset();
    st.zbuffer2.reset();
    st.noDoubleZBuffer = true;
    st.running = false;
}

void DescribeCaps(detail::DisplayState& st) {
    st.supportText.clear();
    st.nonSupportText.clear();
    const auto add = [&](bool has, const char* name) {
        std::string& t = has ? st.supportText : st.nonSupportText;
        if (!t.empty()) t += ", ";
        t += name;
    };
    add(st.device != nullptr, "Direct3D (software)");
    add(st.zbuffer != nullptr, "Z-Buffer");
    add(!st.noDoubleZBuffer, "Second Z-Buffer");
    add(st.caps.CapsAlphaGreaterEqual, "AlphaCmp GreaterEqual");
    add(st.caps.CapsFilterLevel >= 1, "Linear Filter");
    add(st.caps.CapsAntiAliasLevel >= 1, "Anti-Alias");
    add(st.caps.CapsDither, "Dither");
    add(st.caps.CapsMultiTexture, "Multi-Texture");
    add(st.useHardwareDevice != 0, "Hardware Device");
}

}  // namespace

bool DisplayStart(const DisplaySettings& settings) {
    auto& st = State();
    const bool recreate = st.running;
    if (recreate) {
        gSpLib().RaiseTerminateDraw();
        gSpLib().RaiseVideoMemoryRelease();
        ReleaseChain();
    }
    st.settings = settings;
    Long w = 640, h = 480;
    if (settings.highQuality) {
        w = 1024;
        h = 768;
    } else if (settings.halfSize) {
        w = 320;
        h = 240;
    }
    st.screenWidth = w;
    st.screenHeight = h;
    Long depth = settings.depth;
    if (depth == 0) depth = st.pixelBitsList.empty() ? 32 : st.pixelBitsList.front();
    st.pixelBits = depth;
    st.back = MakeChainSurface(w, h, platform::PixelFormat::Rgb888);
    if (!st.back) return false;
    if (settings.zBuffer) {
        st.zbuffer = MakeChainSurface(w, h, platform::PixelFormat::Depth32F);
        if (st.zbuffer && settings.secondZBuffer) {
            st.zbuffer2 = MakeChainSurface(w, h, platform::PixelFormat::Depth32F);
        }
    }
    st.noDoubleZBuffer = st.zbuffer2 == nullptr;
    st.startedWithDepth = st.zbuffer != nullptr;
    // The software device is all there is: no hardware device, no video memory.
    st.useHardwareDevice = 0;
    st.backInVideoMemory = false;
    st.vsinkCorrect = 0;
    if (settings.direct3D) {
        st.device = platform::CreateSoftDevice(st.back, st.zbuffer);
        st.caps = platform::SoftDeviceCaps();
        ++st.renderLevel;
        ClampTextureLimit();
    } else {
        st.caps = platform::D3DCaps{};
    }
    DescribeCaps(st);
    st.running = true;
    if (recreate) gSpLib().RaiseVideoMemoryCash();
    return true;
}

void DisplayStop() {
    auto& st = State();
    if (!st.running) return;
    gSpLib().RaiseTerminateDraw();
    ReleaseChain();
}

const DisplaySettings& CurrentDisplaySettings() {
    return State().settings;
}

SurfacePtr& gBackDDS() {
    return State().back;
}
SurfacePtr& gWorkDDS() {
    return State().work;
}
SurfacePtr& gZBufferDDS() {
    return State().zbuffer;
}
SurfacePtr& gZBufferDDS2() {
    return State().zbuffer2;
}
bool& gNoDoubleZBuffer() {
    return State().noDoubleZBuffer;
}
std::shared_ptr<platform::Direct3DDevice7>& gD3DDevice() {
    return State().device;
}
platform::D3DCaps& gD3DCaps() {
    return State().caps;
}
platform::DirectX7& gDX7() {
    return State().dx7;
}
Long& gScreenWidth() {
    return State().screenWidth;
}
Long& gScreenHeight() {
    return State().screenHeight;
}
Long& gPixelBits() {
    return State().pixelBits;
}
std::vector<Long>& gPixelBitsList() {
    return State().pixelBitsList;
}
Long& gClearColor() {
    return State().clearColor;
}
Long& gUseHardwareDevice() {
    return State().useHardwareDevice;
}
bool& gBackInVideoMemory() {
    return State().backInVideoMemory;
}
std::string& gSupportText() {
    return State().supportText;
}
std::string& gNonSupportText() {
    return State().nonSupportText;
}
Long& gVsinkCorrect() {
    return State().vsinkCorrect;
}

Long GetRenderLevel() {
    return State().renderLevel;
}
Long GetTextureLimit() {
    return State().textureLimit;
}

void UpdateTextureLimit() {
    auto& st = State();
    gSpLib().RaiseVideoMemoryRelease();
    if (st.textureLimit == 0) {
        st.textureLimit = 512;
    } else if (st.textureLimit > 32) {
        st.textureLimit /= 2;
    } else {
        st.textureLimit = 1;
    }
}

void ClampTextureLimit() {
    auto& st = State();
    Long limit = 0;
    for (Long side : {st.caps.MaxTextureWidth, st.caps.MaxTextureHeight}) {
        if (side > 0 && side < 1024) limit = limit == 0 ? side : std::min(limit, side);
    }
    st.textureLimit = limit;
}

Long GetTextureSideMax() {
    const auto& caps = State().caps;
    const auto side = [](Long v) { return v > 0 ? v : Long{platform::kMaxSurfaceSide}; };
    return std::min(side(caps.MaxTextureWidth), side(caps.MaxTextureHeight));
}

Single GetDrawScale() {
    const auto& s = State().settings;
    Single scale = s.halfSize && !s.highQuality ? 0.5f : 1.0f;
    if (s.highQuality) scale *= 1.6f;
    return scale;
}

Single GetHalfSizeOffset() {
    return IsHalfSizeMode() ? 32.0f : 0.0f;
}
bool GetDrawOption7() {
    return State().startedWithDepth;
}
bool IsFullScreenMode() {
    return State().settings.fullScreen;
}
bool IsHalfSizeMode() {
    const auto& s = State().settings;
    return s.halfSize && !s.highQuality;
}

void SetFullScreenMode(bool fullScreen) {
    auto& st = State();
    if (st.settings.fullScreen == fullScreen) return;
    DisplaySettings s = st.settings;
    s.fullScreen = fullScreen;
    if (st.running) {
        DisplayStart(s);
    } else {
        st.settings = s;
    }
}

bool IsDisplayReady() {
    return IsDDSAlive(State().back);
}

bool DirectDrawApplySettings(const DisplaySettingsChange& c) {
    DisplaySettings s = State().settings;
    s.width = c.width.value_or(s.width);
    s.height = c.height.value_or(s.height);
    s.depth = c.depth.value_or(s.depth);
    s.refreshRate = c.refreshRate.value_or(s.refreshRate);
    s.fullScreen = c.fullScreen.value_or(s.fullScreen);
    s.hardware = c.hardware.value_or(s.hardware);
    s.direct3D = c.direct3D.value_or(s.direct3D);
    s.zBuffer = c.zBuffer.value_or(s.zBuffer);
    s.textureCompression = c.textureCompression.value_or(s.textureCompression);
    s.no32BitTextures = c.no32BitTextures.value_or(s.no32BitTextures);
    s.halfSize = c.halfSize.value_or(s.halfSize);
    s.secondZBuffer = c.secondZBuffer.value_or(s.secondZBuffer);
    s.menuAutoHide = c.menuAutoHide.value_or(s.menuAutoHide);
    s.highQuality = c.highQuality.value_or(s.highQuality);
    return DisplayStart(s);
}

Long GetVideoMemoryTotalKB(Long /*caps*/) {
    return 0;
}
Long GetVideoMemoryFreeKB(Long /*caps*/) {
    return 0;
}

}  // namespace brumil::framework
