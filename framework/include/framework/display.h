#pragma once
// Display procedures of the framework: the surfaces of the display chain, the
// Direct3D device over them, their start-up and re-creation, and their
// presentation through the window.
//
// The display state is one object for the whole run; the names the game uses
// (gBackDDS, gScreenWidth, ...) are functions returning references into it.
// Re-creating the display raises TerminateDraw and VideoMemoryRelease before
// the old chain goes and VideoMemoryCash after the new one exists, and raises
// the render level; surfaces made for an earlier device then count as lost.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/vb_types.h"
#include "platform/base/window.h"
#include "platform/gfx/d3d_device.h"
#include "platform/gfx/dx7_math.h"
#include "platform/gfx/surface.h"

namespace brumil::framework {

using platform::SurfacePtr;

// The display configuration (the ten display options of the frame host's
// settings plus size, depth and refresh rate).
struct DisplaySettings {
    Long width = 640;
    Long height = 480;
    Long depth = 0;  // 0: the first entry of gPixelBitsList
    Long refreshRate = 0;
    bool fullScreen = false;
    bool hardware = true;
    bool direct3D = true;
    bool zBuffer = true;
    bool textureCompression = false;
    bool no32BitTextures = false;
    bool halfSize = false;
    bool secondZBuffer = true;
    bool menuAutoHide = false;
    bool highQuality = false;  // 1024x768
};

// DirectDrawApplySettings arguments: an omitted one keeps its value.
struct DisplaySettingsChange {
    std::optional<Long> width, height, depth, refreshRate;
    std::optional<bool> fullScreen, hardware, direct3D, zBuffer, textureCompression,
        no32BitTextures, halfSize, secondZBuffer, menuAutoHide, highQuality;
};

// Start-up and shut-down, called by the frame host's Connect and UnConnect.
// DisplayStart on a running display re-creates it (device loss). Answers true
// when the back surface exists afterwards.
bool DisplayStart(const DisplaySettings& settings);
void DisplayStop();
const DisplaySettings& CurrentDisplaySettings();

// The globals the game names.
SurfacePtr& gBackDDS();
SurfacePtr& gWorkDDS();
SurfacePtr& gZBufferDDS();
SurfacePtr& gZBufferDDS2();
bool& gNoDoubleZBuffer();
// The device; nothing before the display starts. Tests may put a fake here.
std::shared_ptr<platform::Direct3DDevice7>& gD3DDevice();
platform::D3DCaps& gD3DCaps();
platform::DirectX7& gDX7();
Long& gScreenWidth();
Long& gScreenHeight();
Long& gPixelBits();
std::vector<Long>& gPixelBitsList();
Long& gClearColor();
Long& gUseHardwareDevice();
bool& gBackInVideoMemory();
std::string& gSupportText();
std::string& gNonSupportText();
Long& gVsinkCorrect();

Long GetRenderLevel();
Long GetTextureLimit();
void UpdateTextureLimit();
void ClampTextureLimit();
// The largest texture side the device can make, in pixels: the smaller of its
// largest texture width and height (a side it does not report counts as the
// largest surface side).
Long GetTextureSideMax();
Single GetDrawScale();
Single GetHalfSizeOffset();
bool GetDrawOption7();
bool IsFullScreenMode();
bool IsHalfSizeMode();
// Switches between window and full screen when the wanted mode differs.
void SetFullScreenMode(bool fullScreen);
bool IsDisplayReady();
// Re-runs the display start-up with the changed settings.
bool DirectDrawApplySettings(const DisplaySettingsChange& change);
// There is no video memory to report: both answer 0.
Long GetVideoMemoryTotalKB(Long caps);
Long GetVideoMemoryFreeKB(Long caps);

// Surfaces. DDSD/DDSCAPS flags are accepted for their meaning only: texture,
// alpha and system memory are what matter here.
constexpr Long DDSCAPS_SYSTEMMEMORY = 0x800;
constexpr Long DDSCAPS_VIDEOMEMORY = 0x4000;
constexpr Long DDSCAPS_LOCALVIDMEM = 0x10000000;
constexpr Long DDSCAPS2_TEXTUREMANAGE = 0x10;

// Makes a surface; 0 on success, else an error number (1 bad size, 2 no
// display). Textures are rounded up to powers of two, at least 16; with alpha
// their format is 32-bit ARGB, or 4444 when 32-bit textures are switched off;
// without alpha, and for other surfaces, the display format (32-bit).
Long CreateDDS(SurfacePtr& out, Long width, Long height, bool texture, bool alpha, Long flags,
               Long caps, Long caps2);
SurfacePtr CreateOffscreenDDS(Long width, Long height, bool systemMemory, Long extraCaps);
void SetColorKeyDDS(const SurfacePtr& surface, bool useGiven, Long color);
void SetDDSColorKey(const SurfacePtr& surface, bool useGiven, Long color);

struct RECT {
    Long Left = 0, Top = 0, Right = 0, Bottom = 0;
};
RECT GetDDSRect(const SurfacePtr& surface);
void SetRectWH(RECT& rect, Long width, Long height, Long x, Long y);
// Clips dest to bounds and shrinks src in proportion; true when nothing is
// left to draw.
bool ClipStretchRect(const RECT& bounds, RECT& dest, RECT& src);
bool BltDDS(const SurfacePtr& dest, const SurfacePtr& src, Long x, Long y, Long width, Long height,
            Long srcX, Long srcY, bool useSrcKey, bool centre);
bool BltDDSColorFill(const SurfacePtr& dest, Long x, Long y, Long width, Long height, Long color,
                     bool centre);
SurfacePtr GetWorkDDS(Long mode);
bool IsDDSAlive(const SurfacePtr& surface);
Long GetDDSWidth(const SurfacePtr& surface);
Long GetDDSHeight(const SurfacePtr& surface);

struct DDSDescription {
    Long width = 0, height = 0, pitch = 0, formatCode = 0, memoryKind = 0;
};
DDSDescription ReadDDSDescription(const SurfacePtr& surface);

// Presents the back surface through the window: the whole surface, or only the
// given rectangle of the 640x480 logical screen when `whole` is false (an empty
// rectangle presents nothing). Restores a lost back surface first. Does nothing
// while no display exists.
void DisplayPresent(platform::Window& window, bool whole, int x, int y, int width, int height);

}  // namespace brumil::framework
