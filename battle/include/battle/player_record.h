#pragma once
// The two players' records (gPlayers) and the pools of their shot lists.
//
// Each player owns a fixed list of 950 shot records in three pools, searched
// each with its own cursor: main 0-799 (ordinary shots), second 800-939
// (bursts, beams, explosions of kind procedures), third 940-949 (special-move
// objects). The list is a std::array so that it never moves: the collision
// library walks it by index while kind procedures add records to it.
//
// Units: positions in 1/256 pixel, angles 4096 per turn, colours 0xAARRGGBB.

#include <array>
#include <span>

#include "core/vb_types.h"
#include "platform/collision/shot_record.h"

namespace brumil::battle {

using ShotRecord = platform::collision::ShotRecord;

inline constexpr Long kShotListSize = 950;
inline constexpr Long kMainPoolStart = 0;
inline constexpr Long kMainPoolSize = 800;
inline constexpr Long kSecondPoolStart = 800;
inline constexpr Long kSecondPoolSize = 140;
inline constexpr Long kThirdPoolStart = 940;
inline constexpr Long kThirdPoolSize = 10;
inline constexpr Long kAiScanListSize = 800;
inline constexpr Long kSpriteSlotCount = 64;

using ShotList = std::array<ShotRecord, kShotListSize>;

// One player. Field order as kept by the game; a value-initialised record is
// the cleared record of the player reset (all zero, free shot list, cursors 0),
// which then sets the start values.
struct PlayerRecord {
    Long Index = 0;     // the player's own index, 0 or 1
    Long AimAngle = 0;  // facing: 1024 for player 0, 3072 for player 1
    Long FrameCount = 0;
    Long X = 0, Y = 0;
    Long Power = 0;  // value / 256 is the power factor
    Long Life = 0;   // half points
    Long Gauge = 0;  // 0..1000
    Long Score = 0;
    Long MoveSpeed = 0;
    Long SpeedBoost = 0;  // >= 0, decays
    Long SpeedBrake = 0;  // <= 0, decays
    Long MoveDX = 0, MoveDY = 0;
    Long LastDirection = 0;
    Long SpawnDX = 0, SpawnDY = 0;
    Long AttackX = 0, AttackY = 0;
    Long AttackTargetX = 0, AttackTargetY = 0;
    Long AttackCode = 0;   // 10..42
    Long AttackFrame = 0;  // 0 = no attack running
    Long AttackWait = 0;
    Long GaugeCost = 0;  // x 10, taken at the next frame step
    Long Timer28 = 0;
    Long ArtReady = 0;
    Long ArtStop = 0;
    Long ArtFrame = 0;  // negative during the art's tail
    Long ArtCooldown = 0;
    Long ArtX = 0, ArtY = 0;
    Long Decided = 0;
    Long KnockBack = 0;
    Long StartBlock = 0;
    Long Invulnerable = 0;
    Long HitStrength = 0;
    Long HitRadius = 0;  // pixels
    Long MinX = 0, MaxX = 0, MinY = 0, MaxY = 0;
    Long CharaSlot = 0;
    Long Pose = 0;
    Long Vulnerable = 0;  // hit tests run only while non-zero
    Long DirectionHold = 0;
    Long HurtTimer = 0;
    Long GaugeFlash = 0;
    Long AiTargetX = 0, AiTargetY = 0;
    Long AiNextX = 0, AiNextY = 0;
    Long AiRetarget = 0;
    Long AiStyle = 0, AiEvadeStyle = 0;
    Long AiState = 0;
    Long AiHitTime = 0;
    Long AiScanPos = 0;
    Long AiScanCount = 0;
    std::array<Long, kAiScanListSize> AiScanList{};
    Long AiRadius = 0, AiScanStep = 0, AiHorizon = 0, AiRange = 0, AiSight = 0;
    Long AiButtonRate = 0, AiStyleChange = 0, AiStyleDefault = 0, AiEvadeStyleDefault = 0;
    ShotList Shots{};
    Long MainCursor = 0, SecondCursor = 0, ThirdCursor = 0;
    std::array<Long, kSpriteSlotCount> SpriteTexture{};
    std::array<Long, kSpriteSlotCount> SpriteBlend{};
    std::array<Long, kSpriteSlotCount> SpriteCells{};
    std::array<Long, 2> StageColors{};  // the first is the player's shot colour
};

// The two players of the match; the opponent of player i is i Xor 1. Lives for
// the whole run; the player reset clears each record at match start.
std::array<PlayerRecord, 2>& gPlayers();

// The pools of a player's list as spans (what the collision routines take).
std::span<ShotRecord> MainPool(PlayerRecord& player);
std::span<ShotRecord> SecondPool(PlayerRecord& player);
std::span<ShotRecord> ThirdPool(PlayerRecord& player);

}  // namespace brumil::battle
