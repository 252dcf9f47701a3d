#include "battle_harness/match_harness.h"

#include <cstddef>
#include <cstring>
#include <utility>

#include "battle/player_record.h"
#include "core/api.h"
#include "framework/input_codes.h"
#include "framework/input_module.h"
#include "framework/key_assign.h"
#include "framework/vkey.h"
#include "platform/base/scan_codes.h"
#include "platform/collision/collision.h"

namespace brumil::harness {
namespace {

namespace key = platform::scan;

using KeyRow = std::array<platform::ScanCode, framework::kKeyAssignEntries>;
// Buttons 1 to 10 (0 = none), Up, Down, Left, Right.
constexpr std::array<KeyRow, 2> kKeys = {{
    {key::Z, key::X, key::C, key::A, key::S, 0, 0, 0, 0, 0, key::Up, key::Down, key::Left,
     key::Right},
    {key::Q, key::W, key::E, key::R, key::T, 0, 0, 0, 0, 0, key::I, key::K, key::J, key::L},
}};

void AssignKeys() {
    auto& table = framework::gKeyAssign();
    for (auto& record : table) record.fill(0);
    for (std::size_t p = 0; p < kKeys.size(); ++p) {
        for (std::size_t i = 0; i < kKeys[p].size(); ++i) {
            if (kKeys[p][i] != 0) table[p][i] = framework::KeyboardCode(kKeys[p][i]);
        }
    }
}

void Mix(std::uint64_t& h, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) {
        h ^= bytes[i];
        h *= 0x100000001B3ull;
    }
}

void MixLong(std::uint64_t& h, Long v) {
    Mix(h, &v, sizeof v);
}

}  // namespace

MatchHarness::MatchHarness(MatchSetup setup) : setup_(std::move(setup)) {
    clock_.SetMs(setup_.StartMs);
    core::gApi().SeedHelperRandom(setup_.HelperSeed);
    // Without them the bursts, beams and explosions of the attacks never run.
    for (Long id = battle::kFirstKindId; id <= battle::kLastKindId; ++id) {
        const auto k = static_cast<std::size_t>(id - battle::kFirstKindId);
        earlierProcedures_[k] = platform::collision::ConnectedProcedure(id);
        platform::collision::Connect(id, battle::KindProcedures().Find(id));
    }
    AssignKeys();
    devices_.ReleaseAll();
    framework::gInputModule().Attach(&devices_);
    framework::gInputModule().SetVKeyCount(2);
    for (auto& record : framework::VKey()) record = framework::VKeyRecord{};
    // Nothing of an earlier match may reach this one's digests.
    for (auto& player : battle::gPlayers()) player = battle::PlayerRecord{};
    framework::gVKeyFromDevices().fill(true);

    auto& game = battle::gGame();
    game = std::make_unique<battle::bGame>(clock_);
    battle::BGameOption& o = game->gd();
    o.GameMode = setup_.GameMode;
    o.AILevel = setup_.AILevel;
    o.StageNumber = setup_.StageNumber;
    o.CharaID(0, setup_.Chara0);
    o.CharaID(1, setup_.Chara1);
    game->FrontEnd.EndMatch = [this] {
        if (endRequestStep_ < 0) endRequestStep_ = steps_;
    };
    game->FrontEnd.OpenNetworkSetup = [] {};
    game->Jobs.Add(battle::bGame::JobKey(1), 0);
}

MatchHarness::~MatchHarness() {
    if (auto& game = battle::gGame()) {
        game->Jobs.Destroy();
        game->Jobs.Poll();
        game.reset();
    }
    framework::gInputModule().Attach(nullptr);
    framework::gInputModule().SetVKeyCount(framework::kVKeyPlayers);
    framework::gVKeyFromDevices().fill(true);
    for (Long id = battle::kFirstKindId; id <= battle::kLastKindId; ++id) {
        platform::collision::Connect(
            id, earlierProcedures_[static_cast<std::size_t>(id - battle::kFirstKindId)]);
    }
}

void MatchHarness::Step() {
    if (ended_) return;
    for (const ScriptedKey& k : setup_.Keys) {
        if (k.step != steps_ || k.player < 0 || k.player > 1) continue;
        const platform::ScanCode code =
            kKeys[static_cast<std::size_t>(k.player)][static_cast<std::size_t>(k.input)];
        if (code != 0) devices_.SetKey(code, k.down);
    }
    framework::gInputModule().Step();
    battle::bGame& game = Game();
    game.Jobs.Poll();
    // The front end removes its battle-start job at its next poll; that job's
    // end shuts the battle's jobs down and lets the match end run.
    if (endRequestStep_ >= 0) {
        game.Jobs.Destroy();
        game.Jobs.Poll();
        ended_ = true;
    }
    ++steps_;
    clock_.AdvanceMicros(16667);
}

std::vector<std::uint64_t> MatchHarness::Run(Long maxSteps) {
    std::vector<std::uint64_t> digests;
    while (!ended_ && steps_ < maxSteps) {
        Step();
        digests.push_back(MatchDigest(Game()));
    }
    return digests;
}

std::uint64_t MatchDigest(const battle::bGame& game) {
    std::uint64_t h = 0xCBF29CE484222325ull;
    for (Long v :
         {game.FrameCount, game.Serial, game.EndCount, game.Winner, game.WaitCount, game.ArtActive})
        MixLong(h, v);
    // The sprite slots' texture numbers count the process's texture cache in
    // the order of first use, so they differ with what ran before the match.
    constexpr std::size_t kSkipFrom = offsetof(battle::PlayerRecord, SpriteTexture);
    constexpr std::size_t kSkipTo = offsetof(battle::PlayerRecord, SpriteBlend);
    static_assert(kSkipTo - kSkipFrom == sizeof(battle::PlayerRecord::SpriteTexture));
    for (const battle::PlayerRecord& p : battle::gPlayers()) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(&p);
        Mix(h, bytes, kSkipFrom);
        Mix(h, bytes + kSkipTo, sizeof p - kSkipTo);
    }
    return h;
}

}  // namespace brumil::harness
