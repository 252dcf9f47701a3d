// A scripted match replays step for step whatever ran before it in the same
// process: each case leaves the process in another state (procedures,
// generators, records, input, caches, an earlier match) and plays the script
// again; the digests must be those of the undisturbed run.

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "battle/kind_table.h"
#include "battle/player_record.h"
#include "battle_harness/match_harness.h"
#include "core/api.h"
#include "framework/input_module.h"
#include "framework/vkey.h"
#include "platform/base/scan_codes.h"
#include "platform/collision/angle_math.h"
#include "platform/collision/collision.h"
#include "render/admin_lib.h"
#include "render/im_texture.h"

namespace brumil::harness {
namespace {

constexpr Long kSteps = 400;

// Character 5 against 3, each cycling through its attack buttons with a full
// gauge before every round.
MatchSetup Script() {
    MatchSetup s;
    s.GameMode = 4;
    s.Chara0 = 5;
    s.Chara1 = 3;
    s.StartMs = 1053;
    for (Long at = 0; at < kSteps; at += 90) {
        for (Long p = 0; p < 2; ++p) {
            const int button = static_cast<int>((at / 90 + p) % 4);
            s.Keys.push_back({at + 2 * p, p, button, true});
            s.Keys.push_back({at + 2 * p + 30, p, button, false});
            s.Keys.push_back({at + 10, p, p == 0 ? kLeft : kRight, true});
            s.Keys.push_back({at + 40, p, p == 0 ? kLeft : kRight, false});
        }
    }
    return s;
}

std::vector<std::uint64_t> Play() {
    MatchHarness match(Script());
    std::vector<std::uint64_t> digests;
    for (Long step = 0; step < kSteps; ++step) {
        for (battle::PlayerRecord& p : battle::gPlayers()) {
            if (step % 90 == 89) p.Gauge = 1000;
        }
        match.Step();
        digests.push_back(MatchDigest(match.Game()));
    }
    return digests;
}

void ConnectEveryKind(battle::KindProcedure procedure) {
    for (Long id = battle::kFirstKindId; id <= battle::kLastKindId; ++id)
        platform::collision::Connect(id, procedure);
}

void ConnectRealKinds() {
    for (Long id = battle::kFirstKindId; id <= battle::kLastKindId; ++id)
        platform::collision::Connect(id, battle::KindProcedures().Find(id));
}

struct Disturbance {
    std::string_view name;  // a test name: letters only
    std::function<void()> apply;
};

void PrintTo(const Disturbance& d, std::ostream* out) {
    *out << d.name;
}

class MatchAfter : public ::testing::TestWithParam<Disturbance> {
protected:
    // Whatever a case changes in the collision library is given back.
    void TearDown() override { ConnectRealKinds(); }
};

TEST_P(MatchAfter, ReplaysTheUndisturbedDigests) {
    const std::vector<std::uint64_t> undisturbed = Play();
    GetParam().apply();
    const std::vector<std::uint64_t> again = Play();
    ASSERT_EQ(static_cast<Long>(undisturbed.size()), kSteps);
    ASSERT_EQ(again.size(), undisturbed.size());
    for (std::size_t i = 0; i < again.size(); ++i)
        ASSERT_EQ(again[i], undisturbed[i]) << "first differing step " << i;
}

const Disturbance kDisturbances[] = {
    {"KindProceduresConnected", ConnectRealKinds},
    {"NoKindProcedures", [] { ConnectEveryKind(nullptr); }},
    {"KindProceduresThatDoNothing",
     [] { ConnectEveryKind([](std::int32_t, std::int32_t, std::int32_t) {}); }},
    {"GeneratorsDrawnAndReseeded",
     [] {
         for (int i = 0; i < 7; ++i) {
             core::gApi().RndDLL(1000);
             core::gApi().Math_Rnd(1, 6);
             platform::collision::ART(4096);
         }
         core::gApi().Randomize(99);
         platform::collision::Reset(777);
     }},
    {"RecordsLeftMidMatch",
     [] {
         for (battle::PlayerRecord& p : battle::gPlayers()) {
             p.Life = 3;
             p.Gauge = 999;
             p.AttackCode = 41;
             p.AttackWait = 17;
             for (auto& r : p.Shots) r.State = 1;
             p.MainCursor = 377;
         }
     }},
    {"InputStepsAndHeldKeys",
     [] {
         platform::NullInputDevices held;
         held.SetKey(platform::scan::Z, true);
         held.SetKey(platform::scan::Left, true);
         framework::gInputModule().Attach(&held);
         for (int i = 0; i < 5; ++i) framework::gInputModule().Step();
         framework::gInputModule().Attach(nullptr);
         framework::VKey()[0][framework::kVKeyButton1] = 40;
     }},
    {"OtherTexturesCachedFirst",
     [] {
         render::CIMTexture& cache = render::gIMTexture();
         cache.Clear();
         for (std::string_view name : {"replay_a", "replay_b", "replay_c"}) cache.Add(name);
     }},
    {"AnEarlierMatchOfOtherCharacters",
     [] {
         MatchSetup other;
         other.Chara0 = 8;
         other.Chara1 = 2;
         other.StartMs = 5;
         other.Keys = {{0, 0, kButton3, true}, {3, 1, kButton1, true}};
         MatchHarness match(other);
         match.Run(250);
     }},
};

INSTANTIATE_TEST_SUITE_P(ProcessStates, MatchAfter, ::testing::ValuesIn(kDisturbances),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace brumil::harness
