#pragma once
// The shot-list routines: free-slot search, movement, the per-pass procedure
// calls and the hit tests. Each takes a pool as a span of records, usually a
// slice of a player's 950-record list; the routines work on the records in
// place and keep no pointer to them between calls.
//
// Selector: -1 selects every record; any other value selects the records
// whose Group equals it. A record is live when its State is not 0.
//
// Re-entrancy: PosReference and PosHitCircleCallBack call kind procedures,
// which may add records to the very list being walked (through SearchFree)
// and run further catches on it. Both walk by index and visit only the records
// that were live when they started; a slot handed out by SearchFree during a
// walk is not visited by that walk, so a record made in one pass is first
// moved and referenced in the next one, at age 0. The list must not be
// reallocated while a walk runs (the battle keeps it in a fixed array).

#include <cstdint>
#include <span>

#include "platform/collision/shot_record.h"

namespace brumil::platform::collision {

// The first free record (State 0) of the pool searching cyclically from the
// cursor; the cursor is first brought into 0..size-1 (Euclidean remainder).
// The answer is relative to the pool; -1 when the pool is full or empty.
std::int32_t SearchFree(std::span<const ShotRecord> pool, std::int32_t cursor);

// Moves every live record one pass, in ascending index:
//   Speed += Accel while Age < SpeedLimit;
//   Angle += MotionA while Age < MotionB, or always when MotionB is 0;
//   X += (Speed x ACT(Angle)) >> 8, Y += (Speed x AST(Angle)) >> 8 (arithmetic).
// Never touches Age and never calls a procedure, so it is safe on scratch
// copies. Arithmetic wraps at 32 bits.
void PosMove(std::span<ShotRecord> list);

// The per-pass rules of every record live at the start, in ascending index,
// re-reading State after each step (a record that ended is left alone):
//  1. ProcId is called with (player, index, 0);
//  2. the change rule (Mode1 with Param1):
//     1: motions of the library: Param1 1 adds Value1 to Alpha, clamped at 0,
//        and the record ends when Alpha reaches 0; Param1 2 adds Value1 to Spin;
//     2: the record can hit while Age < Value1, fades (Alpha falls in equal
//        steps to 0) without hitting from Value1 to Value2, and procedure
//        Param1 is called at Age == Value2;
//     3 and 5: procedure Param1 is called when Value1 > 0 and
//        Age Mod Value1 == 0 (age 0 included);
//     anything else: nothing;
//  3. the timed call, when SwitchAge > 0 and Age == SwitchAge, or when
//     Phase And 4: NextProcId is called; a NextProcId of 0 ends the record
//     (State 0) instead;
//  4. Age + 1 when still live.
// player is the owner handed to the procedures; the list must be that
// player's whole list (index 0 = record 0), because the procedures find their
// record as gPlayers(player).Shots(index). Ids without a registered procedure
// are ignored, whatever their value.
void PosReference(std::span<ShotRecord> list, std::int32_t player);

// True while a record may take part in PosHitCircle and PosHitBox: not inside
// the fading part of change rule 2 (Age >= Value1), Size > 0 and Scale > 0.
bool CanHit(const ShotRecord& record);

// Records outside the rectangle (bounds inside) among the selected live
// records: mode 1 ends them, mode 2 ORs value into their Phase, other modes
// only count. The answer is their number.
std::int32_t PosHitWindow(std::span<ShotRecord> pool, std::int32_t left, std::int32_t top,
                          std::int32_t right, std::int32_t bottom, std::int32_t selector,
                          std::int32_t mode, std::int32_t value);

// The number of selected live records inside the rectangle (bounds inside).
// Changes no record, whatever mode and value say.
std::int32_t PosHitWindowIn(std::span<const ShotRecord> pool, std::int32_t left, std::int32_t top,
                            std::int32_t right, std::int32_t bottom, std::int32_t selector,
                            std::int32_t mode, std::int32_t value);

// The circle (x, y) with radius in pixels against the selected live records
// that CanHit: a record touches when the distance of the centres is at most
// radius + Size x min(Scale, 256) / 1024 pixels. mode 1 ends every record
// touched, mode 2 only counts; mode2 is not read. The answer is the number of
// records touched.
std::int32_t PosHitCircle(std::span<ShotRecord> pool, std::int32_t x, std::int32_t y,
                          std::int32_t radius, std::int32_t selector, std::int32_t mode,
                          std::int32_t mode2);

// The same circle against the boxes of the selected live records that CanHit.
// A record's box is a band along the direction (Angle + Spin) - 1024 (the
// sprite's up), HitB/256 pixels wide and HitC/256 pixels long, placed so that
// (X, Y) sits at the fraction ScaleX/256 across it and ScaleY/256 along it
// measured from its far end. A record touches when the circle's centre is at
// most radius pixels from the band.
std::int32_t PosHitBox(std::span<ShotRecord> pool, std::int32_t x, std::int32_t y,
                       std::int32_t radius, std::int32_t selector, std::int32_t mode,
                       std::int32_t mode2);

// Every selected live record: mode 1 ends it, mode 2 ORs value into its
// Phase (4 makes it fire its timed procedure in the next PosReference), other
// modes only count. The answer is their number.
std::int32_t PosHitAll(std::span<ShotRecord> pool, std::int32_t selector, std::int32_t mode,
                       std::int32_t value);

// The catch of an explosion. pool is a slice of owner's list starting at
// list index firstIndex. Among the records live at the start, a record is
// caught when it is selected, (Phase And flag) == 0, Serial < stamp and its
// centre lies within radius pixels of (x, y); then Phase Or= flag and
// procedure (unless 0 or unregistered) is called at once with
// (owner, firstIndex + pool index, 0). mode is not read. The answer is the
// number caught. The flag makes a caught record invisible to later catches
// with the same flag until a procedure clears it.
std::int32_t PosHitCircleCallBack(std::span<ShotRecord> pool, std::int32_t owner,
                                  std::int32_t firstIndex, std::int32_t x, std::int32_t y,
                                  std::int32_t radius, std::int32_t selector, std::int32_t mode,
                                  std::int32_t stamp, std::int32_t flag, std::int32_t procedure);

}  // namespace brumil::platform::collision
