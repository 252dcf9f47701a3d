#include "battle/mod_sumpa.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "battle/b_game.h"
#include "platform/collision/angle_math.h"
#include "platform/collision/collision.h"

namespace brumil::battle {
namespace {

struct FakeLibrary {
    Long loadAnswer = 1;
    Long versionAnswer = 168;
    Long upkeepAnswer = 1;
    Long connectAnswer = 1;
    int loads = 0;
    int unloads = 0;
    std::vector<Long> connected;            // ids in call order
    std::vector<KindProcedure> procedures;  // procedure per call
    std::vector<std::string> boxes;         // "title|text"
    std::vector<std::string> notices;

    SumpaLibrary Calls() {
        return SumpaLibrary{
            [this] {
                ++loads;
                return loadAnswer;
            },
            [this] { return versionAnswer; },
            [this] {
                ++unloads;
                return Long{1};
            },
            [this] { return upkeepAnswer; },
            [this](Long id, KindProcedure procedure) {
                connected.push_back(id);
                procedures.push_back(procedure);
                return connectAnswer;
            },
        };
    }
    StartupFailureBox Box() {
        return [this](std::string_view text, std::string_view title) {
            boxes.push_back(std::string(title) + "|" + std::string(text));
        };
    }
    NoticeBox Notice() {
        return [this](std::string_view text) { notices.emplace_back(text); };
    }
};

std::vector<Long> RegistrationOrder() {
    std::vector<Long> ids;
    for (Long id = 8; id <= 67; ++id) ids.push_back(id);
    ids.insert(ids.end(), {8, 8, 8});
    return ids;
}

TEST(SumpaLoad, OutcomeByLoadAndVersion) {
    struct Case {
        Long load;
        Long version;
        bool ok;
        int unloads;      // by SumpaLoad itself
        std::string box;  // "" for none
    };
    const std::string missing =
        "Brumil - 起動できません|sumpa2.dllがインストールされていません\n"
        "DLLファイルをフォルダにコピーしてください";
    const std::string broken =
        "Brumil - 起動できません|sumpa2.dllが正常に動作していません\n"
        "アプリケーションを再インストールしてください";
    const Case cases[] = {
        {1, 168, true, 0, ""},    {0, 168, false, 0, missing}, {1, 167, false, 1, broken},
        {1, 0, false, 1, broken}, {5, 169, false, 1, broken},
    };
    for (const Case& c : cases) {
        FakeLibrary lib;
        SumpaRegistration state;
        lib.loadAnswer = c.load;
        lib.versionAnswer = c.version;
        EXPECT_EQ(SumpaLoad(lib.Calls(), lib.Box(), state, lib.Notice()), c.ok)
            << c.load << "/" << c.version;
        EXPECT_EQ(lib.loads, 1);
        EXPECT_EQ(lib.unloads, c.unloads);
        if (c.box.empty()) {
            EXPECT_TRUE(lib.boxes.empty());
        } else {
            EXPECT_EQ(lib.boxes, std::vector<std::string>{c.box});
        }
        // Only a library that passed the checks gets the procedures.
        EXPECT_EQ(lib.connected.empty(), !c.ok);
        EXPECT_TRUE(lib.notices.empty());
    }
}

TEST(SumpaLoad, RegistersEveryKindIdInOrderThenTheFirstThreeTimes) {
    FakeLibrary lib;
    SumpaRegistration state;
    ASSERT_TRUE(SumpaLoad(lib.Calls(), lib.Box(), state, lib.Notice()));
    EXPECT_EQ(lib.connected, RegistrationOrder());
    for (std::size_t k = 0; k < lib.connected.size(); ++k) {
        EXPECT_EQ(lib.procedures[k], KindProcedures().Find(lib.connected[k])) << k;
    }
    EXPECT_EQ(state.upkeep, 1);
}

TEST(SumpaUpkeep, RegistersAgainOnlyWhenTheGenerationChanges) {
    struct Step {
        Long upkeep;
        std::size_t connects;  // total so far
    };
    const Step steps[] = {{0, 0}, {4, 63}, {4, 63}, {5, 126}, {5, 126}, {4, 189}};
    FakeLibrary lib;
    SumpaRegistration state;  // starts at 0: a library answering 0 is not registered
    for (const Step& s : steps) {
        lib.upkeepAnswer = s.upkeep;
        SumpaUpkeep(lib.Calls(), state, lib.Notice());
        EXPECT_EQ(lib.connected.size(), s.connects) << "upkeep " << s.upkeep;
    }
}

TEST(SumpaUpkeep, AFailedRegistrationShowsTheNoticeOncePerRun) {
    FakeLibrary lib;
    SumpaRegistration state;
    lib.connectAnswer = 0;
    lib.upkeepAnswer = 3;
    SumpaUpkeep(lib.Calls(), state, lib.Notice());
    lib.upkeepAnswer = 4;
    SumpaUpkeep(lib.Calls(), state, lib.Notice());
    EXPECT_EQ(lib.connected.size(), 126u);  // every id is still tried
    EXPECT_EQ(lib.notices, std::vector<std::string>{"コールバック関数を登録できません"});
    EXPECT_TRUE(state.failureShown);
    // A fresh run shows it again.
    SumpaRegistration fresh;
    EXPECT_FALSE(RegisterSumpaCallback(lib.Calls(), fresh, lib.Notice(), 9, nullptr));
    EXPECT_EQ(lib.notices.size(), 2u);
    lib.connectAnswer = 1;
    EXPECT_TRUE(RegisterSumpaCallback(lib.Calls(), fresh, lib.Notice(), 9, nullptr));
    EXPECT_EQ(lib.notices.size(), 2u);
}

TEST(SumpaLoad, LinkedLibraryLoadsWithItsVersionAndTheProcedures) {
    ASSERT_FALSE(platform::collision::IsLoaded());
    EXPECT_EQ(platform::collision::version(), 0);
    EXPECT_TRUE(SumpaLoad());
    EXPECT_TRUE(platform::collision::IsLoaded());
    EXPECT_EQ(platform::collision::version(), 168);
    for (Long id = kFirstKindId; id <= kLastKindId; ++id) {
        EXPECT_EQ(platform::collision::ConnectedProcedure(id), KindProcedures().Find(id)) << id;
    }
    EXPECT_FALSE(gSumpaRegistration().failureShown);
    SumpaUnload();
    EXPECT_FALSE(platform::collision::IsLoaded());
    EXPECT_EQ(platform::collision::version(), 0);
    // An unload without a load releases nothing.
    EXPECT_EQ(platform::collision::UnloadDLL(), 0);
}

TEST(SumpaLoad, LoadsNest) {
    EXPECT_EQ(platform::collision::LoadDLL(), 1);
    EXPECT_EQ(platform::collision::LoadDLL(), 1);
    EXPECT_EQ(platform::collision::UnloadDLL(), 1);
    EXPECT_EQ(platform::collision::version(), 168);
    EXPECT_EQ(platform::collision::UnloadDLL(), 1);
    EXPECT_FALSE(platform::collision::IsLoaded());
}

TEST(SumpaReset, TheSameTimeGivesTheSameRandomNumbers) {
    const auto draw = [](Long time) {
        SumpaReset(time);
        std::vector<Long> v;
        for (int k = 0; k < 16; ++k) v.push_back(platform::collision::ART(4096));
        return v;
    };
    EXPECT_EQ(draw(1000), draw(1000));
    EXPECT_NE(draw(1000), draw(1001));
}

}  // namespace
}  // namespace brumil::battle
