#include "battle/player_reset.h"

#include "battle/battle_textures.h"
#include "framework/vkey.h"

namespace brumil::battle {
namespace {

constexpr std::array<Long, 6> kPowerOfLevel = {0, 40, 90, 140, 190, 240};

constexpr std::array<AiParameters, 6> kAiLevels = {{
    {42, 10, 200, 150, 450, 400, 100, 1, 1},
    {28, 25, 125, 200, 600, 550, 250, 4, 4},
    {8, 50, 100, 350, 900, 700, 400, 0, 10},
    {5, 75, 80, 400, 1000, 850, 400, 10, 0},
    {2, 100, 70, 800, 1000, 1000, 900, 10, 10},
    {0, 200, 60, 800, 1000, 1000, 900, 10, 0},
}};

constexpr Long kComputerPlayer = 2;
constexpr Long kKeyboardPlayer = 1;

}  // namespace

Long PowerOfLevel(Long level) {
    if (level < 1 || level > 6) return 0;
    return kPowerOfLevel[static_cast<std::size_t>(level - 1)];
}

const AiParameters* AiParametersOfLevel(Long level) {
    if (level < 1 || level > 6) return nullptr;
    return &kAiLevels[static_cast<std::size_t>(level - 1)];
}

void PlayerReset(const BGameOption& options, Long player) {
    if (player != 0 && player != 1) return;
    PlayerRecord& p = gPlayers()[static_cast<std::size_t>(player)];
    p = PlayerRecord{};  // record, shot list and cursors cleared
    framework::UpdateVKey(player, framework::VKeyFlags{});
    framework::UpdateVKey(player, framework::VKeyFlags{});
    framework::gVKeyFromDevices()[static_cast<std::size_t>(player)] =
        options.PlayerType(player) == kKeyboardPlayer;

    p.Index = player;
    p.Power = PowerOfLevel(options.AILevel);
    p.Vulnerable = 1;
    p.HitRadius = 1;
    p.ArtReady = 1;
    p.Life = kStartLife;
    p.StartBlock = kStartBlock;
    const Long chara = options.CharaID(player);
    p.MoveSpeed = chara == 2 ? kMoveSpeedFast : chara == 8 ? kMoveSpeedSlow : kMoveSpeed;

    p.MinX = 6144;
    p.MaxX = 157696;
    p.MinY = 8192;
    p.MaxY = 114688;
    p.X = 81920;
    p.Y = player == 0 ? 90112 : 32768;
    p.AimAngle = player == 0 ? 1024 : 3072;

    p.AiTargetX = p.AiNextX = p.X;
    p.AiTargetY = p.AiNextY = p.Y;
    p.AiRetarget = 20;

    const AiParameters* ai = AiParametersOfLevel(options.AILevel);
    if (options.PlayerType(player) == kComputerPlayer && ai != nullptr) {
        p.AiRadius = p.HitRadius + ai->RadiusExtra;
        p.AiScanStep = ai->ScanStep;
        p.AiHorizon = ai->Horizon;
        p.AiRange = ai->Range;
        p.AiSight = ai->Sight;
        p.AiButtonRate = ai->ButtonRate;
        p.AiStyleChange = ai->StyleChange;
        p.AiStyleDefault = ai->StyleDefault;
        p.AiEvadeStyleDefault = ai->EvadeStyleDefault;
        p.AiStyle = p.AiStyleDefault;
        p.AiEvadeStyle = p.AiEvadeStyleDefault;
    }

    LoadCharaTextures(options, p);
    LoadEffectTextures(p);
}

}  // namespace brumil::battle
