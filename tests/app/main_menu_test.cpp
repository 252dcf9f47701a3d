#include "app/main_menu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/save_files.h"
#include "app/the_app.h"

namespace brumil::app {
namespace {

class FakeServices final : public MainMenuServices {
public:
    bool fullScreen = false;
    bool displayReady = true;
    framework::CJobResis* jobs = nullptr;
    std::vector<Long> volumeLevels;
    int volumeResets = 0;
    int chatShown = 0;
    int unloads = 0;
    int modeSwitches = 0;

    bool IsFullScreenMode() override { return fullScreen; }
    bool IsDisplayReady() override { return displayReady; }
    void SetFullScreenMode(bool f) override {
        ++modeSwitches;
        fullScreen = f;
    }
    framework::CJobResis* Jobs() override { return jobs; }
    void SetVolumeLevel(Long step) override { volumeLevels.push_back(step); }
    void AudioVolumeReset() override { ++volumeResets; }
    bool ShowChat() override {
        ++chatShown;
        return false;
    }
    void UnloadWindow() override { ++unloads; }
};

// A job list whose callback ignores every message.
class SilentJobs final : public framework::IJobResis {
public:
    void Coming(Long, Long, Long) override {}
};

class MainMenuTest : public ::testing::Test {
protected:
    MainMenuTest() {
        ConfigSetDefault(gConfig());
        jobs_.Callback = &callback_;
        services_.jobs = &jobs_;
        app_.Running = true;
        app_.MenuServices = &services_;
    }

    std::vector<Long> LinkedAfterPoll() {
        jobs_.Poll();
        std::vector<Long> linked;
        for (Long k = 1; k <= 22; ++k)
            if (jobs_.Test(k)) linked.push_back(k);
        return linked;
    }

    std::vector<Long> CheckedDeviceItems() const {
        std::vector<Long> out;
        for (Long i : {0, 1, 2, 3, 10})
            if (app_.Menu.Find(MenuControl::DeviceChange, i)->checked) out.push_back(i);
        return out;
    }

    SilentJobs callback_;
    framework::CJobResis jobs_;
    FakeServices services_;
    TheApp app_;
};

TEST(MainMenuModel, TheBarInItsOrderWithItsCaptions) {
    const MainMenuModel model;
    const std::vector<std::pair<std::string, std::vector<std::string>>> want = {
        {"画面設定",
         {"フルスクリーンモード", "ウィンドウモード", "",
          "デバイスを変更 - 画質を優先 XGAモード 1024x768", "デバイスを変更 - 画質を優先",
          "デバイスを変更 - 処理速度を優先", "デバイスを変更 - 処理速度を特に優先",
          "デバイスを変更 - 詳細設定"}},
        {"音量", {"5", "4", "3", "2", "1", "消音"}},
        {"システム",
         {"キーコンフィグ", "通信対戦のセットアップ", "チャット送信 [F5]", "",
          "スタートメニューに戻る [F1]", "ゲーム終了"}},
    };
    ASSERT_EQ(model.Menus().size(), want.size());
    for (std::size_t m = 0; m < want.size(); ++m) {
        const MenuTop& top = model.Menus()[m];
        EXPECT_EQ(top.caption, want[m].first);
        ASSERT_EQ(top.items.size(), want[m].second.size()) << top.caption;
        for (std::size_t i = 0; i < top.items.size(); ++i) {
            EXPECT_EQ(top.items[i].caption, want[m].second[i]) << top.caption << " item " << i;
            EXPECT_EQ(top.items[i].separator, want[m].second[i].empty());
        }
    }
    EXPECT_EQ(model.Find(MenuControl::ScreenModeBar, 9)->separator, true);
    EXPECT_EQ(model.Find(MenuControl::Volume, 5)->caption, "消音");
    EXPECT_EQ(model.Find(MenuControl::DeviceChange, 4), nullptr);
}

struct DeviceCase {
    Long index;
    Long preset;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const DeviceCase& c, std::ostream* os) {
    *os << "index=" << c.index << " preset=" << c.preset;
}

class DeviceItemTest : public MainMenuTest, public ::testing::WithParamInterface<DeviceCase> {};

TEST_P(DeviceItemTest, SetsThePresetAndAddsTheApplyJob) {
    const DeviceCase c = GetParam();
    gConfig().GraphicsAutomation = 5;
    app_.MenuClick(MenuControl::DeviceChange, c.index);
    EXPECT_EQ(gConfig().GraphicsAutomation, c.preset);
    EXPECT_TRUE(app_.MenuDirty);
    EXPECT_EQ(LinkedAfterPoll(), std::vector<Long>{9});
    app_.SettingMainMenu(false);
    EXPECT_EQ(CheckedDeviceItems(), std::vector<Long>{c.index});
}

INSTANTIATE_TEST_SUITE_P(Items, DeviceItemTest,
                         ::testing::Values(DeviceCase{0, 11}, DeviceCase{1, 0}, DeviceCase{2, 1},
                                           DeviceCase{3, 2}));

TEST_F(MainMenuTest, TheDetailedItemOpensTheDialogAndChangesNothingElse) {
    gConfig().GraphicsAutomation = 1;
    const ConfigRecord before = gConfig();
    app_.MenuClick(MenuControl::DeviceChange, 10);
    EXPECT_EQ(gConfig(), before);
    EXPECT_FALSE(app_.MenuDirty);
    EXPECT_EQ(LinkedAfterPoll(), std::vector<Long>{6});
    EXPECT_TRUE(jobs_.IsActive(6));
}

TEST_F(MainMenuTest, DeviceIndexesWithoutAnItemDoNothing) {
    for (Long index : {5, 6, 7, 8, 9, 11, -1}) app_.MenuClick(MenuControl::DeviceChange, index);
    EXPECT_EQ(gConfig().GraphicsAutomation, 0);
    EXPECT_TRUE(LinkedAfterPoll().empty());
}

struct CheckCase {
    Long preset;
    std::vector<Long> checked;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const CheckCase& c, std::ostream* os) {
    *os << "preset=" << c.preset;
}

class PresetCheckTest : public MainMenuTest, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(PresetCheckTest, ChecksTheItemOfThePreset) {
    gConfig().GraphicsAutomation = GetParam().preset;
    app_.SettingMainMenu(true);
    EXPECT_EQ(CheckedDeviceItems(), GetParam().checked) << "preset " << GetParam().preset;
}

INSTANTIATE_TEST_SUITE_P(Presets, PresetCheckTest,
                         ::testing::Values(CheckCase{11, {0}}, CheckCase{0, {1}}, CheckCase{1, {2}},
                                           CheckCase{2, {3}}, CheckCase{10, {10}}, CheckCase{3, {}},
                                           CheckCase{4, {}}, CheckCase{9, {}}, CheckCase{12, {}},
                                           CheckCase{-1, {}}));

TEST_F(MainMenuTest, SettingWithoutForceWaitsForUpdate) {
    gConfig().GraphicsAutomation = 2;
    app_.SettingMainMenu(false);
    EXPECT_TRUE(CheckedDeviceItems().empty());
    app_.UpdateMainMenu();
    app_.SettingMainMenu(false);
    EXPECT_EQ(CheckedDeviceItems(), std::vector<Long>{3});
    EXPECT_FALSE(app_.MenuDirty);
}

TEST_F(MainMenuTest, UpdateOnAWindowThatDoesNotRunDoesNothing) {
    app_.Running = false;
    app_.UpdateMainMenu();
    EXPECT_FALSE(app_.MenuDirty);
}

TEST_F(MainMenuTest, AVolumeItemSetsTheVolumeAndMovesTheCheck) {
    app_.SettingMainMenu(true);
    EXPECT_TRUE(app_.Menu.Find(MenuControl::Volume, 2)->checked);  // the default
    app_.MenuClick(MenuControl::Volume, 4);
    EXPECT_EQ(gConfig().Volume, 4);
    EXPECT_EQ(services_.volumeLevels, std::vector<Long>{4});
    EXPECT_EQ(services_.volumeResets, 1);
    app_.SettingMainMenu(false);
    for (Long k = 0; k <= 5; ++k)
        EXPECT_EQ(app_.Menu.Find(MenuControl::Volume, k)->checked, k == 4) << k;
}

TEST_F(MainMenuTest, ScreenModeItemsWaitForTheDisplayChangeStep) {
    gConfig().ScreenMode = 0;
    app_.MenuClick(MenuControl::FullScreenMode, -1);
    EXPECT_EQ(services_.modeSwitches, 0);  // nothing inside the menu's own frame
    app_.ApplyDisplayChanges();
    EXPECT_TRUE(services_.fullScreen);
    EXPECT_EQ(gConfig().ScreenMode, 1);
    app_.SettingMainMenu(false);
    EXPECT_TRUE(app_.Menu.Find(MenuControl::FullScreenMode)->checked);
    EXPECT_FALSE(app_.Menu.Find(MenuControl::WindowMode)->checked);
    app_.MenuClick(MenuControl::WindowMode, -1);
    app_.ApplyDisplayChanges();
    EXPECT_EQ(gConfig().ScreenMode, 0);
    app_.ApplyDisplayChanges();  // nothing left over
    EXPECT_EQ(services_.modeSwitches, 2);
}

TEST_F(MainMenuTest, AltEnterSwitchesTheModeAfterTheFrame) {
    app_.KeyUp(WindowKey::Enter, false);
    app_.ApplyDisplayChanges();
    EXPECT_FALSE(services_.fullScreen);
    app_.KeyUp(WindowKey::Enter, true);
    EXPECT_FALSE(services_.fullScreen);
    app_.ApplyDisplayChanges();
    EXPECT_TRUE(services_.fullScreen);
    EXPECT_EQ(gConfig().ScreenMode, 1);
    EXPECT_TRUE(app_.MenuDirty);
    app_.KeyUp(WindowKey::Enter, true);
    app_.ApplyDisplayChanges();
    EXPECT_FALSE(services_.fullScreen);
    EXPECT_EQ(gConfig().ScreenMode, 0);
}

TEST_F(MainMenuTest, JobItemsAddTheirJobs) {
    struct {
        MenuControl control;
        Long job;
    } cases[] = {{MenuControl::KeyConfig, 5}, {MenuControl::NetworkSetup, 3}};
    for (const auto& c : cases) {
        framework::CJobResis list;
        list.Callback = &callback_;
        services_.jobs = &list;
        app_.MenuClick(c.control, -1);
        list.Poll();
        EXPECT_TRUE(list.Test(c.job));
        EXPECT_EQ(list.LinkedCount(), 1u);
    }
}

TEST_F(MainMenuTest, F1RemovesTheBattleStartAndMatchSequenceOnly) {
    for (Long job : {2L, 11L, 12L, 13L, 21L, 20L}) jobs_.Add(job, job == 2 ? 2 : 1);
    jobs_.Poll();
    app_.KeyDown(WindowKey::F1);
    EXPECT_EQ(LinkedAfterPoll(), (std::vector<Long>{2, 11, 12, 13}));
    EXPECT_TRUE(jobs_.IsActive(13));
    app_.KeyDown(WindowKey::F1);  // neither running: nothing changes
    EXPECT_EQ(LinkedAfterPoll(), (std::vector<Long>{2, 11, 12, 13}));
}

TEST_F(MainMenuTest, F5AsksForTheChatAndOtherKeysDoNothing) {
    app_.KeyDown(WindowKey::F5);
    EXPECT_EQ(services_.chatShown, 1);
    app_.KeyDown(WindowKey::Other);
    app_.KeyDown(WindowKey::Enter);
    EXPECT_EQ(services_.chatShown, 1);
    EXPECT_TRUE(LinkedAfterPoll().empty());
}

TEST_F(MainMenuTest, AWindowThatDoesNotRunIgnoresKeysAndClosing) {
    jobs_.Add(20, 1);
    jobs_.Poll();
    app_.Running = false;
    app_.KeyDown(WindowKey::F1);
    app_.KeyDown(WindowKey::F5);
    app_.UnLoadTheApp();
    EXPECT_EQ(LinkedAfterPoll(), std::vector<Long>{20});
    EXPECT_EQ(services_.chatShown, 0);
    EXPECT_FALSE(app_.Closing);
}

TEST_F(MainMenuTest, ClosingTwice) {
    for (Long job : {2L, 11L, 12L}) jobs_.Add(job, job == 2 ? 2 : 1);
    jobs_.Poll();
    EXPECT_FALSE(app_.QueryClose());  // cancelled: the transition runs instead
    EXPECT_TRUE(app_.Closing);
    EXPECT_EQ(LinkedAfterPoll(), std::vector<Long>{8});
    EXPECT_EQ(services_.unloads, 0);
    EXPECT_TRUE(app_.QueryClose());  // the second goes ahead
    app_.UnLoadTheApp();             // as the transition's end calls it
    EXPECT_EQ(services_.unloads, 1);
}

TEST_F(MainMenuTest, TheExitItemStartsTheClosing) {
    jobs_.Add(11, 0);
    jobs_.Poll();
    app_.MenuClick(MenuControl::Exit, -1);
    EXPECT_EQ(LinkedAfterPoll(), std::vector<Long>{8});
}

TEST_F(MainMenuTest, AltDoesNothingInWindowModeOrWhileTheDisplayIsLost) {
    services_.fullScreen = false;
    app_.KeyUp(WindowKey::Alt, false);
    EXPECT_FALSE(app_.MenuShown);
    EXPECT_FALSE(app_.MenuOverlayVisible());
    services_.fullScreen = true;
    services_.displayReady = false;
    app_.KeyUp(WindowKey::Alt, false);
    EXPECT_FALSE(app_.MenuShown);
}

TEST_F(MainMenuTest, AltShowsTheOverlayOnceAndAgainHidesIt) {
    services_.fullScreen = true;
    gConfig().Volume = 3;
    app_.KeyUp(WindowKey::Alt, false);
    EXPECT_TRUE(app_.MenuShown);
    EXPECT_TRUE(app_.MenuOverlayVisible());
    EXPECT_TRUE(app_.Menu.Find(MenuControl::Volume, 3)->checked);  // refreshed on show
    app_.MainMenu(true);                                           // shown already: nothing
    EXPECT_TRUE(app_.MenuShown);
    app_.KeyUp(WindowKey::Alt, false);
    EXPECT_FALSE(app_.MenuShown);
    EXPECT_FALSE(app_.MenuOverlayVisible());
    app_.MainMenu(false);  // hidden already: nothing
    EXPECT_FALSE(app_.MenuShown);
}

TEST_F(MainMenuTest, AfterTheOverlayLostTheFocusAltShowsItAgain) {
    services_.fullScreen = true;
    app_.MainMenu(true);
    app_.MenuOverlayHidden();
    EXPECT_FALSE(app_.MenuShown);
    app_.KeyUp(WindowKey::Alt, false);
    EXPECT_TRUE(app_.MenuShown);
    EXPECT_TRUE(app_.MenuOverlayVisible());
}

TEST_F(MainMenuTest, TopMenusCanBeDisabledByName) {
    app_.Menu.SetTopEnabled(kScreenMenu, false);
    app_.Menu.SetTopEnabled(kSystemMenu, false);
    EXPECT_FALSE(app_.Menu.Top(kScreenMenu)->enabled);
    EXPECT_TRUE(app_.Menu.Top(kVolumeMenu)->enabled);
    EXPECT_FALSE(app_.Menu.Top(kSystemMenu)->enabled);
}

}  // namespace
}  // namespace brumil::app
