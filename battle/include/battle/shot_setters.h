#pragma once
// Making shot records: the template, putting copies into a player's pools and
// the setters of the change rule. Used by the attack patterns and the kind
// procedures.
//
// The change rule (Mode1, Param1, Mode2, Param2, Value1, Value2) is read by
// the collision library's PosReference (see platform/collision/shot_list.h):
// mode 1 runs the library's motions 1 (fade) and 2 (spin), mode 2 is the hit
// window of ShotSetKind ending in procedure Param1, modes 3 and 5 call
// procedure Param1 every Value1 passes.

#include "battle/player_record.h"
#include "core/vb_types.h"

namespace brumil::battle {

// Fills record with the template (State 1, HitA/HitB/HitC 4, Size 18,
// ScaleX/ScaleY 128, Color 0xFFFFFF, Alpha 224, Spin 1024, Scale 256,
// DrawW/DrawH 8192, every other word 0) and sets Serial to the battle
// object's Serial (0 while there is no battle object).
void ShotRecordInit(ShotRecord& record);

// Put a copy of record into the main, second or third pool of player's list:
// the pool's free slot from SearchFree at its cursor becomes the new cursor
// and receives the copy. A full pool, or a player other than 0 and 1, drops
// the shot and changes nothing. The answer is the list index written, or -1.
Long ShotAdd(Long player, const ShotRecord& record);
Long ShotAddPool2(Long player, const ShotRecord& record);
Long ShotAddPool3(Long player, const ShotRecord& record);

// Size = a, Mode1 = Mode2 = 2, Param1 = 12, Param2 = c, Value1 = a,
// Value2 = a + b: hits while Age < a, fades until a + b, then procedure 12.
void ShotSetKind(ShotRecord& record, Long a, Long b, Long c);

// Mode1 = Mode2 = 1, Param1 = id, Param2 = 0, Value1 = b, Value2 = 0.
void ShotSetMotion(ShotRecord& record, Long id, Long b);
// ShotSetMotion with id 1: Alpha changes by b each pass; the record ends at 0.
void ShotSetMotion1(ShotRecord& record, Long b);
// ShotSetMotion with id 2: Spin changes by b each pass.
void ShotSetMotion2(ShotRecord& record, Long b);

// Writes Param1, Mode1, Mode2, Param2, Value1, Value2 in this argument order.
void ShotSetTrigger(ShotRecord& record, Long param1, Long mode1, Long mode2, Long param2,
                    Long value1, Long value2);

}  // namespace brumil::battle
