#include "framework/maxwell_config.h"

namespace brumil::framework {

void CMaxwellConfig::AddDDraw(Long width, Long height, bool fullScreen, bool hardware,
                              bool direct3D, bool zBuffer, bool textureCompression,
                              bool no32BitTexture, bool halfSize, bool secondZBuffer,
                              bool menuAutoHide, bool highQuality) {
    ddWidth = width;
    ddHeight = height;
    ddFullScreen = fullScreen;
    ddHardware = hardware;
    ddDirect3D = direct3D;
    ddZBuffer = zBuffer;
    ddTextureCompression = textureCompression;
    ddNo32BitTexture = no32BitTexture;
    ddHalfSize = halfSize;
    ddSecondZBuffer = secondZBuffer;
    ddMenuAutoHide = menuAutoHide;
    ddHighQuality = highQuality;
}

Long CMaxwellConfig::BackBufferWidth() const {
    if (ddHalfSize) return 320;
    if (ddHighQuality) return 1024;
    return ddWidth;
}

Long CMaxwellConfig::BackBufferHeight() const {
    if (ddHalfSize) return 240;
    if (ddHighQuality) return 768;
    return ddHeight;
}

}  // namespace brumil::framework
