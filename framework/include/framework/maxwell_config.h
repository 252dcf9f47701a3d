#pragma once
// The frame host's settings: public variables written by the shell before
// Connect, and the two per-frame fields the jobs use while drawing.

#include "core/rect.h"
#include "core/vb_types.h"

namespace brumil::framework {

class CMaxwellConfig {
public:
    // Display configuration, set by AddDDraw; without a call these stay.
    Long ddWidth = 640;
    Long ddHeight = 480;
    bool ddFullScreen = false;          // option 1
    bool ddHardware = true;             // option 2
    bool ddDirect3D = true;             // option 3
    bool ddZBuffer = false;             // option 4
    bool ddTextureCompression = false;  // option 5
    bool ddNo32BitTexture = false;      // option 6
    bool ddHalfSize = false;            // option 7: 320x240 back buffer
    bool ddSecondZBuffer = false;       // option 8
    bool ddMenuAutoHide = true;         // option 9
    bool ddHighQuality = false;         // option 10: 1024x768 back buffer

    // (width, height, then the ten options in the order above.)
    void AddDDraw(Long width, Long height, bool fullScreen, bool hardware, bool direct3D,
                  bool zBuffer, bool textureCompression, bool no32BitTexture, bool halfSize,
                  bool secondZBuffer, bool menuAutoHide, bool highQuality);

    // The back buffer the display settings ask for: 320x240 in half size,
    // 1024x768 in the high-quality mode (half size wins when both are set),
    // else ddWidth x ddHeight.
    Long BackBufferWidth() const;
    Long BackBufferHeight() const;

    bool FullScreenMenu = false;  // show the menu bar in full screen
    Long diCreateVKeyCounts = 4;  // players whose virtual keys the input step fills
    bool WaitVsinkSP = true;      // present on the vertical blank
    // True: present only the rectangles painters reported (PaintRect), plus
    // the whole picture after RePaint; False: the whole picture every frame.
    bool PaintManual = true;
    Long ddPixelBits1 = 32;  // first display depth to try
    Long ddRefreshRate = 60;
    Long dsHz = 44100;
    Long dsChannel = 2;
    Long dsBits = 16;
    bool DebugService = false;
    // Longest single sleep, in ms, while waiting for the next frame; the clock
    // is read again after each (at least 1).
    Long SleepSaver = 1;
    Long SleepFrame = 0;  // extra milliseconds slept every frame
    bool ddInit = true;   // start the display at Connect
    bool dsInit = true;   // start the sound at Connect
    bool diInit = true;   // start the input devices at Connect
    // The logic runs 120 steps per second of the game's time: key-repeat
    // delays and intervals double.
    bool Frame60To120 = false;
    // Scale the picture to the window with linear filtering (else nearest).
    bool LinearScaling = true;

    // True during the extra logic steps of a frame: drawing jobs draw nothing.
    bool PaintDisable = false;
    // The area of the back surface presented at the next frame, in back-buffer
    // pixels: a painter that draws at a drawing scale other than 1.0 (half
    // size, 1024x768) reports the scaled rectangle it drew, as the menu views
    // and the battle's viewport do. Painters grow it with ExpandRect, the frame
    // host empties it after presenting.
    core::CRect PaintRect;
};

}  // namespace brumil::framework
