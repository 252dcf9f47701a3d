#include "app/the_app.h"
#include "framework/display.h"
#include "framework/sound.h"
#include "platform/base/window.h"

namespace brumil::app {

framework::MaxwellDevices PlatformMaxwellDevices() {
    framework::MaxwellDevices devices;
    devices.startDisplay = [](platform::Window&, const framework::CMaxwellConfig& c) {
        framework::DisplaySettings s;
        s.width = c.ddWidth;
        s.height = c.ddHeight;
        s.depth = c.ddPixelBits1;
        s.refreshRate = c.ddRefreshRate;
        s.fullScreen = c.ddFullScreen;
        s.hardware = c.ddHardware;
        s.direct3D = c.ddDirect3D;
        s.zBuffer = c.ddZBuffer;
        s.textureCompression = c.ddTextureCompression;
        s.no32BitTextures = c.ddNo32BitTexture;
        s.halfSize = c.ddHalfSize;
        s.secondZBuffer = c.ddSecondZBuffer;
        s.menuAutoHide = c.ddMenuAutoHide;
        s.highQuality = c.ddHighQuality;
        return framework::DisplayStart(s);
    };
    devices.stopDisplay = [] { framework::DisplayStop(); };
    devices.startSound = [](const framework::CMaxwellConfig& c) {
        framework::SoundStartOptions o;
        o.hz = c.dsHz;
        o.bits = c.dsBits;
        o.channels = c.dsChannel;
        o.nullOutput = platform::HeadlessRequested();
        return framework::SoundStart(o);
    };
    devices.stopSound = [] { framework::SoundStop(); };
    return devices;
}

}  // namespace brumil::app
