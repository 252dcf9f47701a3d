#include "battle/mod_sumpa.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "battle/b_game.h"
#include "platform/collision/collision.h"

namespace brumil::battle {
namespace {

struct FakeLibrary {
    Long loadAnswer = 1;
    Long versionAnswer = 168;
    int loads = 0;
    int unloads = 0;
    std::vector<std::string> boxes;  // "title|text"

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
        };
    }
    StartupFailureBox Box() {
        return [this](std::string_view text, std::string_view title) {
            boxes.push_back(std::string(title) + "|" + std::string(text));
        };
    }
};

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
        lib.loadAnswer = c.load;
        lib.versionAnswer = c.version;
        EXPECT_EQ(SumpaLoad(lib.Calls(), lib.Box()), c.ok) << c.load << "/" << c.version;
        EXPECT_EQ(lib.loads, 1);
        EXPECT_EQ(lib.unloads, c.unloads);
        if (c.box.empty()) {
            EXPECT_TRUE(lib.boxes.empty());
        } else {
            EXPECT_EQ(lib.boxes, std::vector<std::string>{c.box});
        }
    }
}

TEST(SumpaLoad, LinkedLibraryLoadsWithItsVersionAndUnloads) {
    ASSERT_FALSE(platform::collision::IsLoaded());
    EXPECT_EQ(platform::collision::version(), 0);
    EXPECT_TRUE(SumpaLoad());
    EXPECT_TRUE(platform::collision::IsLoaded());
    EXPECT_EQ(platform::collision::version(), 168);
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

TEST(BattleObject, OwnsItsJobListAndIgnoresJobsSoFar) {
    bGame game;
    EXPECT_EQ(game.Jobs.Callback, &game);
    EXPECT_EQ(game.Winner, -1);
    for (Long n : {1, 4, 7}) EXPECT_EQ(bGame::JobKey(n), n);
    for (Long n : {0, 1, 2, 7, 8}) game.Jobs.Add(bGame::JobKey(n), 0);
    EXPECT_EQ(game.Jobs.Poll(), 5);
    game.Jobs.Destroy();
    EXPECT_EQ(game.Jobs.Poll(), 0);
    EXPECT_EQ(game.FrameCount, 0);
}

}  // namespace
}  // namespace brumil::battle
