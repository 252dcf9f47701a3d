#pragma once
// The collision and object-list library: its life cycle, its version, the
// registration of the kind procedures it calls back, and the reset of its
// state for a new match. The shot-list routines are in shot_list.h, the
// angle maths in angle_math.h and the sprite lists in sprite_list.h.
//
// The library is linked in, so loading cannot fail here; the calls keep the
// load/unload pairing so that a caller that forgets to unload, or asks for the
// version while unloaded, is seen. Version and upkeep generation are constants
// of the process.
//
// The library is deterministic: its only changing state is the registration
// table and the generator of ART, which Reset seeds.

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

// A kind procedure: (owner player, index in the owner's whole shot list,
// value). The library calls it inside PosReference and PosHitCircleCallBack
// with value 0; what it does is written into the records.
using KindProcedure = void (*)(std::int32_t player, std::int32_t index, std::int32_t value);

// Ids a procedure can be registered under. 0 means "none" in a record, 1 and
// 2 are the library's own motions (Param1), 3 to 7 are unused.
inline constexpr std::int32_t kFirstProcedureId = 8;
inline constexpr std::int32_t kLastProcedureId = 255;

// The registration generation; never 0, so that a caller that starts from 0
// registers once. It does not change within a process.
std::int32_t Upkeep();

// Registers procedure under id: 1 when id is in kFirstProcedureId..
// kLastProcedureId, else 0 and nothing changes. A later call for the same id
// replaces the earlier one (connecting the same procedure again is harmless);
// a null procedure leaves the id without a procedure, and calls for it are
// ignored like those of any unregistered id.
std::int32_t Connect(std::int32_t id, KindProcedure procedure);
// The procedure registered under id; nullptr when none or out of range.
KindProcedure ConnectedProcedure(std::int32_t id);

// Library state for a new match: reseeds the generator of ART from the time
// in milliseconds. Registrations stay.
void Reset(std::int32_t timeMs);

}  // namespace brumil::platform::collision
