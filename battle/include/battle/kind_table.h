#pragma once
// The table of kind procedures, ids 8 to 67, that the collision library calls
// back. SumpaUpkeep (mod_sumpa.h) connects every id of this table to the
// library, in ascending order, whether or not a procedure exists for it yet:
// an id without a procedure is connected as "no procedure" and the library
// ignores it like any unregistered id.
//
// How a procedure is registered: each family of procedures lives in its own
// file and offers one registration function, for example
//
//     // battle/src/kind_steering.cpp
//     void RegisterSteeringKinds(KindTable& table) {
//         table.Register(8, &Kind08Homing);
//         table.Register(9, &Kind09FaceAway);
//     }
//
// and adds one call of it to RegisterKindFamilies in battle/src/kind_families.cpp.
// The table is built once, on first use of KindProcedures(), so every
// registration must be reachable from RegisterKindFamilies (a static
// registering object in a family file would be dropped by the linker).
//
// A procedure takes (player, index, value): player is the record's owner (0 or
// 1), index the record's index in gPlayers()[player].Shots (0..949), value a
// word from the library (0) that a delegating procedure passes on. It returns
// nothing; it works on the records and must re-read them by index after any
// call that may add or catch shots (ShotAdd, PosHitCircleCallBack, ...).

#include <array>

#include "core/vb_types.h"
#include "platform/collision/collision.h"

namespace brumil::battle {

using KindProcedure = platform::collision::KindProcedure;

inline constexpr Long kFirstKindId = 8;
inline constexpr Long kLastKindId = 67;
inline constexpr Long kKindIdCount = kLastKindId - kFirstKindId + 1;

class KindTable {
public:
    // Records procedure for id: true for ids 8..67 (a later call replaces an
    // earlier one; nullptr clears), false and nothing changed for other ids.
    bool Register(Long id, KindProcedure procedure);
    // The procedure of id; nullptr when none or id outside 8..67.
    KindProcedure Find(Long id) const;
    // Ids 8..67 that have a procedure.
    Long RegisteredCount() const;

private:
    std::array<KindProcedure, kKindIdCount> procedures_{};
};

// Registers every family of procedures built so far (kind_families.cpp).
void RegisterKindFamilies(KindTable& table);

// The program's table, filled by RegisterKindFamilies at the first call.
const KindTable& KindProcedures();

}  // namespace brumil::battle
