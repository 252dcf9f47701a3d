#pragma once
// The collision and object-list library. The battle reaches it through this
// header only. So far it offers its life cycle and its version; the shot-list
// routines join it with the battle.
//
// The library is linked in, so loading cannot fail here; the calls keep the
// load/unload pairing so that a caller that forgets to unload, or asks for the
// version while unloaded, is seen.

#include <cstdint>

namespace brumil::platform::collision {

// The interface version callers check for.
inline constexpr std::int32_t kVersion = 168;

// Makes the library ready: non-zero on success. Loads nest; each needs its
// UnloadDLL.
std::int32_t LoadDLL();
// Releases one load: non-zero when a load was released, 0 when none was held.
std::int32_t UnloadDLL();
// The interface version while loaded; 0 while not loaded.
std::int32_t version();
bool IsLoaded();

}  // namespace brumil::platform::collision
