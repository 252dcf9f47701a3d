#pragma once
// The shot record: the one record the collision library reads and writes by
// address. 42 signed 32-bit words, 168 bytes; the byte offsets are part of the
// interface (callers copy whole records and other code reads fields by
// offset), so each one is checked below.
//
// Units: positions in 1/256 pixel (the field is x 0..0x28000, y 0..0x1E000,
// y growing downwards); angles 4096 per turn, read modulo 4096 wherever they
// index a table; colours 0xRRGGBB in Color with the opacity in Alpha.

#include <cstddef>
#include <cstdint>

namespace brumil::platform::collision {

struct ShotRecord {
    std::int32_t State = 0;       // 0 free slot, 1 live, 2 live in its second form
    std::int32_t Phase = 0;       // flags; 4 = fire the timed procedure now
    std::int32_t Group = 0;       // what selectors other than -1 compare with
    std::int32_t Serial = 0;      // battle serial at creation; catches compare it
    std::int32_t Age = 0;         // passes of PosReference lived
    std::int32_t DrawKind = 0;    // sprite slot 0..63
    std::int32_t ProcId = 0;      // kind procedure called every pass; 0 none
    std::int32_t DrawMode = 0;    // drawing mode of the painters
    std::int32_t NextProcId = 0;  // kind procedure called at SwitchAge; 0 ends the record
    std::int32_t WorkA = 0;
    std::int32_t WorkB = 0;
    std::int32_t SwitchAge = 0;  // age of the timed call; 0 = no timed call
    std::int32_t Mode1 = 0;      // change rule mode (0, 1, 2, 3, 5)
    std::int32_t Param1 = 0;     // change rule: 1, 2 library motions; 8 and up kind procedures
    std::int32_t Mode2 = 0;
    std::int32_t Param2 = 0;
    std::int32_t Value1 = 0;
    std::int32_t Value2 = 0;
    std::int32_t TargetX = 0;
    std::int32_t TargetY = 0;
    std::int32_t HitA = 0;  // counter of the kind procedures
    std::int32_t HitB = 0;  // box width in 1/256 pixel (second pool)
    std::int32_t HitC = 0;  // box length in 1/256 pixel (second pool)
    std::int32_t Size = 0;  // body size: hit radius Size x min(Scale, 256) / 1024 pixels
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t Speed = 0;       // 1/256 pixel per pass
    std::int32_t Accel = 0;       // added to Speed while Age < SpeedLimit
    std::int32_t SpeedLimit = 0;  // number of passes during which Accel applies
    std::int32_t Angle = 0;       // direction of motion
    std::int32_t MotionA = 0;     // added to Angle while Age < MotionB (always when MotionB 0)
    std::int32_t MotionB = 0;
    std::int32_t ScaleX = 0;      // pivot of the sprite and the box across, 256 = right edge
    std::int32_t ScaleY = 0;      // pivot along, 0 = the far (up) end, 256 = the near end
    std::int32_t Color = 0;       // 0xRRGGBB (higher bits ignored)
    std::int32_t Alpha = 0;       // opacity 0..255 (clamped when drawn)
    std::int32_t Spin = 0;        // drawing angle added to Angle
    std::int32_t Scale = 0;       // drawing scale, 256 = 1:1
    std::int32_t DrawW = 0;       // sprite width x 256
    std::int32_t DrawH = 0;       // sprite height x 256
    std::int32_t SpriteSlot = 0;  // cell of the slot's cell group (And 63)
    std::int32_t WorkC = 0;
};

static_assert(sizeof(ShotRecord) == 168);
static_assert(offsetof(ShotRecord, State) == 0x00 && offsetof(ShotRecord, Phase) == 0x04 &&
              offsetof(ShotRecord, Group) == 0x08 && offsetof(ShotRecord, Serial) == 0x0C &&
              offsetof(ShotRecord, Age) == 0x10 && offsetof(ShotRecord, DrawKind) == 0x14 &&
              offsetof(ShotRecord, ProcId) == 0x18 && offsetof(ShotRecord, DrawMode) == 0x1C &&
              offsetof(ShotRecord, NextProcId) == 0x20 && offsetof(ShotRecord, WorkA) == 0x24 &&
              offsetof(ShotRecord, WorkB) == 0x28 && offsetof(ShotRecord, SwitchAge) == 0x2C);
static_assert(offsetof(ShotRecord, Mode1) == 0x30 && offsetof(ShotRecord, Param1) == 0x34 &&
              offsetof(ShotRecord, Mode2) == 0x38 && offsetof(ShotRecord, Param2) == 0x3C &&
              offsetof(ShotRecord, Value1) == 0x40 && offsetof(ShotRecord, Value2) == 0x44 &&
              offsetof(ShotRecord, TargetX) == 0x48 && offsetof(ShotRecord, TargetY) == 0x4C &&
              offsetof(ShotRecord, HitA) == 0x50 && offsetof(ShotRecord, HitB) == 0x54 &&
              offsetof(ShotRecord, HitC) == 0x58 && offsetof(ShotRecord, Size) == 0x5C);
static_assert(offsetof(ShotRecord, X) == 0x60 && offsetof(ShotRecord, Y) == 0x64 &&
              offsetof(ShotRecord, Speed) == 0x68 && offsetof(ShotRecord, Accel) == 0x6C &&
              offsetof(ShotRecord, SpeedLimit) == 0x70 && offsetof(ShotRecord, Angle) == 0x74 &&
              offsetof(ShotRecord, MotionA) == 0x78 && offsetof(ShotRecord, MotionB) == 0x7C &&
              offsetof(ShotRecord, ScaleX) == 0x80 && offsetof(ShotRecord, ScaleY) == 0x84 &&
              offsetof(ShotRecord, Color) == 0x88 && offsetof(ShotRecord, Alpha) == 0x8C);
static_assert(offsetof(ShotRecord, Spin) == 0x90 && offsetof(ShotRecord, Scale) == 0x94 &&
              offsetof(ShotRecord, DrawW) == 0x98 && offsetof(ShotRecord, DrawH) == 0x9C &&
              offsetof(ShotRecord, SpriteSlot) == 0xA0 && offsetof(ShotRecord, WorkC) == 0xA4);

// Values of State.
inline constexpr std::int32_t kStateFree = 0;

// The Phase flag that makes PosReference fire the timed procedure at once.
inline constexpr std::int32_t kPhaseFireNow = 4;

// Change-rule values the library acts on (Mode1 with Param1).
inline constexpr std::int32_t kModeMotion = 1;     // Param1 kMotionFade or kMotionSpin
inline constexpr std::int32_t kModeHitWindow = 2;  // hit, fade, then procedure Param1
inline constexpr std::int32_t kModeRepeatA = 3;    // procedure Param1 every Value1 passes
inline constexpr std::int32_t kModeRepeatB = 5;    // same as kModeRepeatA
inline constexpr std::int32_t kMotionFade = 1;     // Alpha += Value1; ends at Alpha 0
inline constexpr std::int32_t kMotionSpin = 2;     // Spin += Value1

}  // namespace brumil::platform::collision
