// The library singletons and their start-up.

#include "render/admin_lib.h"

#include "image/cmg_bbi_function.h"
#include "image/cmg_bbi_string.h"
#include "library_slot.h"
#include "render/ark.h"
#include "render/im_device.h"
#include "render/im_texture.h"

namespace brumil::render {

CIMDevice& gIMDevice() {
    return detail::LibrarySingleton<CIMDevice>();
}
CIMTexture& gIMTexture() {
    return detail::LibrarySingleton<CIMTexture>();
}

void AdminLibInit() {
    // Each library's shared objects, in the order they depend on each other.
    image::gBBIFunction();
    image::gBBIString();
    gIMDevice();
    gIMTexture();
    gIMArk();
}

void AdminLibTerminate() {
    // In reverse order of making.
    detail::LibrarySlot<CIMArk>().reset();
    detail::LibrarySlot<CIMTexture>().reset();
    detail::LibrarySlot<CIMDevice>().reset();
}

}  // namespace brumil::render
