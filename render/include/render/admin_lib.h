#pragma once
// The shared objects of the rendering and image libraries, made at start-up.
//
// gIMDevice() and gIMTexture() are made on first use when AdminLibInit has not
// run; AdminLibTerminate drops them (the next use makes new ones). They live
// longer than every graphic object they hold, and the framework root outlives
// them.

namespace brumil::render {

class CIMDevice;
class CIMTexture;

// Makes every library singleton: the image library's gBBIFunction and
// gBBIString, gIMDevice, gIMTexture (and, as the 3D library grows, its own).
void AdminLibInit();
// Drops the render library's singletons (textures first).
void AdminLibTerminate();

CIMDevice& gIMDevice();
CIMTexture& gIMTexture();

}  // namespace brumil::render
