#include "battle/b_game_stage.h"

#include <cstdint>

#include "framework/display.h"
#include "render/admin_lib.h"
#include "render/ark.h"
#include "render/ark_board.h"
#include "render/graphics.h"
#include "render/im_device.h"
#include "render/im_texture.h"
#include "sound/bgm.h"

namespace brumil::battle {
namespace {

constexpr Long kFlashLightA = 3;
constexpr Long kFlashLightB = 4;
constexpr Long kLandShape = 2;
constexpr Long kBoardRenderMode = 0x90;
constexpr Long kAmbient = 0x40404040;
constexpr Long kCullCounterClockwise = 3;
constexpr Single kMaterial = 0.8f;
constexpr Single kMusicVolume = 0.8f;
constexpr Single kRollPerPulse = 0.2f;
constexpr Single kSpotCone = 1.0f;
constexpr Single kSpotHeight = 2.0f;
constexpr Single kSpotReach = 4.0f;
constexpr Single kPointHeight = 0.25f;
constexpr Single kSpotBase = 0.2f;

// Adds a ground picture to the cache; a new entry is made opaque.
Long AddGroundTexture(std::string_view name) {
    auto& textures = render::gIMTexture();
    const Long index = textures.Add(name);
    if (textures.AddedTexture()) {
        if (auto g = textures.Item(index)) g->ChooseCA(0, 0);
    }
    return index;
}

}  // namespace

BGameStage::BGameStage() = default;
BGameStage::~BGameStage() = default;

render::CIMArkBoard& BGameStage::Boards() {
    if (!boards_) boards_ = std::make_unique<render::CIMArkBoard>();
    return *boards_;
}

Long BGameStage::StageRnd(Long n) {
    if (n <= 1) return 0;
    std::uint32_t out = 0;
    random_.Below(static_cast<std::uint32_t>(n), out);
    return static_cast<Long>(out);
}

void BGameStage::Reset(Long stage, std::uint64_t seed) {
    StageNumber = stage;
    StageFrame = 0;
    Travel = 0;
    random_.Seed(seed);
    BuildStageBoards();
}

void BGameStage::Reset(Long stage) {
    constexpr std::uint64_t kSeedStep = 0x9E3779B97F4A7C15ull;
    ++resets_;
    Reset(stage, resets_ * kSeedStep + static_cast<std::uint64_t>(stage));
}

void BGameStage::BuildStageBoards() {
    const StageGroup* group = StageGroupOf(StageNumber);
    if (group == nullptr) {
        grid_ = HeightGrid{};
        return;
    }
    UpdateStageFlash(0, kFlashLightA, kFlashLightB, true, false);
    BoardTexture = AddGroundTexture(group->boardTexture);
    SecondTexture = AddGroundTexture(group->secondTexture);

    render::CIMArkBoard& boards = Boards();
    boards.IMArkObjectCount(kBoardCount);
    grid_ = BuildHeightGrid(*group, [this](Long n) { return StageRnd(n); });
    for (Long m = 0; m < kPatchRows; ++m) {
        for (Long c = -2; c <= 2; ++c) {
            auto board = boards.IMArkObject(BoardIndexOf(m, c));
            if (!board) continue;
            board->Create(kLandShape, PatchLayoutText(grid_, m, c), -1, 10, 1.0f, 1.0f, 1.0f, 0, 0,
                          0);
            board->SetMaterialLE(kMaterial);
        }
    }
}

void BGameStage::FrameStep() {
    ++StageFrame;
    const StageGroup* group = StageGroupOf(StageNumber);
    if (group == nullptr) return;
    Travel += group->travelPerStep;
    if (StageFrame != 1) return;
    auto& music = sound::gBGM();
    if (!music) return;
    // A tune that does not open leaves the match silent.
    if (music->Load(StageMusicFile(StageNumber)) != 0) return;
    music->Config.Volume = kMusicVolume;
    music->Play(true, 1.0f, 0);
}

void BGameStage::UpdateStageFlash(Long stepsDue, Long lightA, Long lightB, bool reset,
                                  bool enable) {
    render::CIMArk& ark = render::gIMArk();
    if (reset) Flash.Step = 0;
    const auto switchOff = [&] {
        ark.SetLightEnable(lightA, false);
        ark.SetLightEnable(lightB, false);
    };
    if (!enable) {
        switchOff();
        return;
    }
    switch (StepStageFlash(Flash, stepsDue, [this](Long n) { return StageRnd(n); })) {
        case FlashLights::Off:
            switchOff();
            break;
        case FlashLights::Lit: {
            const Single s = Flash.Strength;
            ark.SetLight(render::CIMArk::Get_Light_DirectionalLight(Flash.DirX, Flash.DirY,
                                                                    Flash.DirZ, s, s, s),
                         lightA, true);
            ark.SetLight(
                render::CIMArk::Get_Light_DirectionalLight(-Flash.DirX, -Flash.DirY, -Flash.DirZ,
                                                           -s / 3.0f, -0.3f * s, -s / 4.0f),
                lightB, true);
            break;
        }
        case FlashLights::Unchanged:
            break;
    }
}

void BGameStage::CameraAndLights(const StageGroup& group) {
    using render::CIMArk;
    CIMArk& ark = render::gIMArk();
    const StageView& v = group.view;
    const Single t = Travel;
    const StagePulse p = StagePulseAt(StageFrame);
    ark.vFrom(CIMArk::Get_v(0, v.eyeHeight, t));
    ark.vTo(CIMArk::Get_v(0, 0, t + v.lookAhead));
    // The level stages set the roll too: the camera is shared, and a tilted
    // stage would otherwise leave its tilt to the next match.
    ark.roll(v.rolls ? p.s1 * kRollPerPulse : 0.0f);
    ark.SettingProperty();
    ark.SetLightAmbient(kAmbient);
    ark.SetLight(
        CIMArk::Get_Light_PointLight(CIMArk::Get_v(0, kPointHeight, t + v.pointAhead),
                                     v.pointColour, v.pointColour, v.pointColour, v.pointParam),
        0, true);
    ark.SetLight(CIMArk::Get_Light_SpotLight(CIMArk::Get_v(-v.spotSide, kSpotHeight, t),
                                             CIMArk::Get_v(v.spotSide, -1, 2), p.s3,
                                             p.s7 + kSpotBase, p.s2 + kSpotBase, kSpotCone),
                 1, true);
    ark.SetLight(CIMArk::Get_Light_SpotLight(CIMArk::Get_v(v.spotSide, kSpotHeight, t + kSpotReach),
                                             CIMArk::Get_v(-v.spotSide, -1, -2), -p.s3,
                                             -p.s7 - kSpotBase, -p.s2 - kSpotBase, kSpotCone),
                 2, true);
}

void BGameStage::Paint(Long stepsDue) {
    render::CIMDevice& device = render::gIMDevice();
    const bool depth = framework::GetDrawOption7();
    if (depth) {
        device.SceneClear(false, true, -1);
        device.SetZBufferMode(true);
    }
    if (const StageGroup* group = StageGroupOf(StageNumber)) {
        UpdateStageFlash(stepsDue, kFlashLightA, kFlashLightB, false, true);
        device.SetCullingMode(kCullCounterClockwise);
        device.SetFilterMode(true);
        CameraAndLights(*group);
        render::CIMArkBoard& boards = Boards();
        for (const BoardPlacement& b : BoardDrawOrder(*group, Travel, depth)) {
            auto board = boards.IMArkObject(b.board);
            if (!board) continue;
            board->SetTransform(static_cast<Single>(b.column), 0, static_cast<Single>(b.depth), 0,
                                0, 0);
            board->SetRenderMode(kBoardRenderMode);
            board->SetTextureIndex(BoardTexture);
            board->RenderInstantSetting();
            board->Render(0);
        }
    }
    if (depth) device.SetZBufferMode(false);
}

}  // namespace brumil::battle
