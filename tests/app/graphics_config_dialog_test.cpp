#include "app/graphics_config_dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/dialog_text.h"
#include "app/the_app.h"
#include "frontend/application_config.h"

namespace brumil::app {
namespace {

using G = GraphicsGroup;

class FakeServices final : public GraphicsConfigServices {
public:
    bool frontEnd = true;
    std::vector<std::string> calls;
    bool AddFrontEndJob(Long job, Long kind) override {
        calls.push_back("AddJob " + std::to_string(job) + " kind " + std::to_string(kind));
        return frontEnd;
    }
    void UpdateMainMenu() override { calls.push_back("UpdateMainMenu"); }
};

class GraphicsDialogTest : public ::testing::Test {
protected:
    GraphicsDialogTest() { ConfigSetDefault(config_); }
    void Open() {
        dialog_.Place(100, 50);
        dialog_.Init();
        dialog_.Show();
    }
    std::vector<Long> Selection() const {
        std::vector<Long> s;
        for (int g = 0; g < kGraphicsGroupCount; ++g) s.push_back(dialog_.Selected(G(g)));
        return s;
    }
    void Select(std::vector<Long> options) {
        for (int g = 0; g < kGraphicsGroupCount; ++g) dialog_.Option_Click(G(g), options[g]);
    }

    ConfigRecord config_;
    FakeServices services_;
    frmGraphicsConfig dialog_{config_, services_};
};

// ---- Init --------------------------------------------------------------------

struct InitCase {
    Long deviceMode, pixelBits, disable32, zBuffer, displaySize, waitVsink;
    // Render, DisplaySize, Texture, VSink, ZBuffer
    std::vector<Long> selected;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const InitCase& c, std::ostream* os) {
    *os << "deviceMode=" << c.deviceMode << " pixelBits=" << c.pixelBits
        << " disable32=" << c.disable32 << " zBuffer=" << c.zBuffer
        << " displaySize=" << c.displaySize << " waitVsink=" << c.waitVsink;
}

class GraphicsInitTest : public GraphicsDialogTest,
                         public ::testing::WithParamInterface<InitCase> {};

TEST_P(GraphicsInitTest, SelectsTheOptionsOfTheSettings) {
    const InitCase& c = GetParam();
    config_.DeviceMode = c.deviceMode;
    config_.PixelBits = c.pixelBits;
    config_.Disable32BitTexture = c.disable32;
    config_.ZBuffer = c.zBuffer;
    config_.DisplaySize = c.displaySize;
    config_.WaitVsink = c.waitVsink;
    EXPECT_FALSE(dialog_.IsOpen());
    dialog_.Init();
    EXPECT_EQ(Selection(), c.selected);
    EXPECT_TRUE(dialog_.IsOpen());
    EXPECT_FALSE(dialog_.Visible());  // Init does not show the window
}

INSTANTIATE_TEST_SUITE_P(
    Settings, GraphicsInitTest,
    ::testing::Values(
        // Software rendering whatever the depth.
        InitCase{0, 32, 0, 0, 0, 3, {2, 0, 0, 0, 0}}, InitCase{0, 16, 0, 0, 0, 3, {2, 0, 0, 0, 0}},
        // Hardware: 32 bits is the first option, any other depth the second.
        InitCase{1, 32, 0, 0, 0, 3, {0, 0, 0, 0, 0}}, InitCase{-1, 32, 0, 0, 0, 3, {0, 0, 0, 0, 0}},
        InitCase{1, 24, 0, 0, 0, 3, {1, 0, 0, 0, 0}}, InitCase{1, 16, 0, 0, 0, 3, {1, 0, 0, 0, 0}},
        // Textures and z-buffer: any non-zero value.
        InitCase{1, 32, 1, 0, 0, 3, {0, 0, 1, 0, 0}},
        InitCase{1, 32, -1, -1, 0, 3, {0, 0, 1, 0, 1}},
        InitCase{1, 32, 0, 1, 0, 3, {0, 0, 0, 0, 1}},
        // Sizes: 1 and 2 exactly, anything else 640x480.
        InitCase{1, 32, 0, 0, 1, 3, {0, 1, 0, 0, 0}}, InitCase{1, 32, 0, 0, 2, 3, {0, 2, 0, 0, 0}},
        InitCase{1, 32, 0, 0, 3, 3, {0, 0, 0, 0, 0}}, InitCase{1, 32, 0, 0, -1, 3, {0, 0, 0, 0, 0}},
        // Sync by bits 0 and 1.
        InitCase{1, 32, 0, 0, 0, 0, {0, 0, 0, 2, 0}}, InitCase{1, 32, 0, 0, 0, 1, {0, 0, 0, 1, 0}},
        InitCase{1, 32, 0, 0, 0, 2, {0, 0, 0, 2, 0}}, InitCase{1, 32, 0, 0, 0, 7, {0, 0, 0, 0, 0}},
        InitCase{1, 32, 0, 0, 0, 5, {0, 0, 0, 1, 0}}));

// ---- OK ----------------------------------------------------------------------

struct OkCase {
    std::vector<Long> selected;  // Render, DisplaySize, Texture, VSink, ZBuffer
    // Disable32BitTexture, DisplaySize, DeviceMode, PixelBits, WaitVsink, ZBuffer
    std::vector<Long> written;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const OkCase& c, std::ostream* os) {
    *os << "selected=";
    for (std::size_t i = 0; i < c.selected.size(); ++i) *os << (i ? "," : "") << c.selected[i];
}

class GraphicsOkTest : public GraphicsDialogTest, public ::testing::WithParamInterface<OkCase> {};

TEST_P(GraphicsOkTest, WritesEveryFieldInOrderThenPreset10) {
    const OkCase& c = GetParam();
    config_.GraphicsAutomation = 2;
    Open();
    Select(c.selected);
    const std::vector<Long>& w = c.written;
    const std::vector<ConfigWrite> want = {
        {"Disable32BitTexture", &ConfigRecord::Disable32BitTexture, w[0]},
        {"DisplaySize", &ConfigRecord::DisplaySize, w[1]},
        {"DeviceMode", &ConfigRecord::DeviceMode, w[2]},
        {"PixelBits", &ConfigRecord::PixelBits, w[3]},
        {"WaitVsink", &ConfigRecord::WaitVsink, w[4]},
        {"ZBuffer", &ConfigRecord::ZBuffer, w[5]},
        {"GraphicsAutomation", &ConfigRecord::GraphicsAutomation, 10},
    };
    EXPECT_EQ(dialog_.OkWrites(), want);

    ConfigRecord expected = config_;
    for (const ConfigWrite& write : want) expected.*write.member = write.value;
    dialog_.CommandOK_Click();
    EXPECT_EQ(config_, expected);
    EXPECT_EQ(config_.GraphicsAutomation, 10);
}

INSTANTIATE_TEST_SUITE_P(Combinations, GraphicsOkTest,
                         ::testing::Values(OkCase{{0, 0, 0, 0, 0}, {0, 0, 1, 32, 3, 0}},
                                           OkCase{{1, 1, 1, 1, 1}, {1, 1, 1, 16, 1, 1}},
                                           OkCase{{2, 2, 0, 2, 0}, {0, 2, 0, 24, 0, 0}},
                                           OkCase{{2, 0, 1, 0, 1}, {1, 0, 0, 24, 3, 1}},
                                           OkCase{{0, 2, 1, 2, 1}, {1, 2, 1, 32, 0, 1}},
                                           OkCase{{1, 0, 0, 1, 0}, {0, 0, 1, 16, 1, 0}}));

struct RoundTripCase {
    const char* name;
    Long deviceMode, pixelBits, displaySize, waitVsink;
    Long storedDeviceMode, storedPixelBits, storedDisplaySize, storedWaitVsink;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const RoundTripCase& c, std::ostream* os) {
    *os << c.name;
}

class GraphicsRoundTripTest : public GraphicsDialogTest,
                              public ::testing::WithParamInterface<RoundTripCase> {};

TEST_P(GraphicsRoundTripTest, OkWithoutChangesNormalisesTheSettings) {
    const RoundTripCase& c = GetParam();
    config_.DeviceMode = c.deviceMode;
    config_.PixelBits = c.pixelBits;
    config_.DisplaySize = c.displaySize;
    config_.WaitVsink = c.waitVsink;
    Open();
    dialog_.CommandOK_Click();
    EXPECT_EQ(config_.DeviceMode, c.storedDeviceMode) << c.name;
    EXPECT_EQ(config_.PixelBits, c.storedPixelBits) << c.name;
    EXPECT_EQ(config_.DisplaySize, c.storedDisplaySize) << c.name;
    EXPECT_EQ(config_.WaitVsink, c.storedWaitVsink) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Settings, GraphicsRoundTripTest,
    ::testing::Values(RoundTripCase{"hardware at 24 bits", 1, 24, 0, 3, 1, 16, 0, 3},
                      RoundTripCase{"software", 0, 32, 0, 3, 0, 24, 0, 3},
                      RoundTripCase{"no sync", 1, 32, 0, 2, 1, 32, 0, 0},
                      RoundTripCase{"unknown size", 1, 32, 3, 3, 1, 32, 0, 3},
                      RoundTripCase{"any hardware mode", 7, 32, 1, 1, 1, 32, 1, 1}));

TEST_F(GraphicsDialogTest, OkAsksForJob9ThenUpdatesTheMenuAndCloses) {
    Open();
    dialog_.CommandOK_Click();
    EXPECT_EQ(services_.calls, (std::vector<std::string>{"AddJob 9 kind 2", "UpdateMainMenu"}));
    EXPECT_FALSE(dialog_.IsOpen());
    EXPECT_FALSE(dialog_.Visible());
}

TEST_F(GraphicsDialogTest, OkWithoutAFrontEndStillStoresAndUpdatesTheMenu) {
    services_.frontEnd = false;
    Open();
    dialog_.Option_Click(G::Render, 2);
    dialog_.CommandOK_Click();
    EXPECT_EQ(config_.DeviceMode, 0);
    EXPECT_EQ(config_.GraphicsAutomation, 10);
    EXPECT_EQ(services_.calls.back(), "UpdateMainMenu");
    EXPECT_FALSE(dialog_.IsOpen());
}

// ---- Cancel and the close box ------------------------------------------------

class GraphicsCloseTest : public GraphicsDialogTest, public ::testing::WithParamInterface<int> {};

TEST_P(GraphicsCloseTest, ChangesNothingAndClears_IsOpen) {
    config_.GraphicsAutomation = 1;
    config_.PixelBits = 16;
    const ConfigRecord before = config_;
    Open();
    Select({2, 2, 1, 2, 1});
    if (GetParam() == 0) {
        dialog_.CommandCancel_Click();
    } else {
        dialog_.Form_Close();
    }
    EXPECT_EQ(config_, before);
    EXPECT_TRUE(services_.calls.empty());
    EXPECT_FALSE(dialog_.IsOpen());
    EXPECT_FALSE(dialog_.Visible());
    // A later OK of the closed window does nothing either.
    dialog_.CommandOK_Click();
    EXPECT_EQ(config_, before);
}

INSTANTIATE_TEST_SUITE_P(CancelOrCloseBox, GraphicsCloseTest, ::testing::Values(0, 1));

TEST_F(GraphicsDialogTest, ReopeningStartsFromTheSettingsWithAnEmptyHelp) {
    Open();
    dialog_.Option_Click(G::Render, 2);
    dialog_.Option_MouseMove(G::Render, 2);
    dialog_.CommandCancel_Click();
    Long x = 0, y = 0;
    EXPECT_FALSE(dialog_.Placement(x, y));
    dialog_.Init();
    dialog_.Show();
    EXPECT_EQ(dialog_.Selected(G::Render), 0);
    EXPECT_EQ(dialog_.Label1(), "");
    EXPECT_TRUE(dialog_.Visible());
}

TEST_F(GraphicsDialogTest, ClicksOutsideTheGroupsOrOnAClosedWindowAreIgnored) {
    Open();
    dialog_.Option_Click(G::Texture, 2);
    dialog_.Option_Click(G::VSink, -1);
    dialog_.Option_Click(G(7), 0);
    EXPECT_EQ(Selection(), (std::vector<Long>{0, 0, 0, 0, 0}));
    dialog_.Option_Click(G::VSink, 2);
    EXPECT_EQ(dialog_.Selected(G::VSink), 2);
}

TEST_F(GraphicsDialogTest, PlaceKeepsTheScreenPosition) {
    Open();
    Long x = 0, y = 0;
    ASSERT_TRUE(dialog_.Placement(x, y));
    EXPECT_EQ(x, 100);
    EXPECT_EQ(y, 50);
}

// ---- Texts -------------------------------------------------------------------

TEST(GraphicsDialogTexts, CaptionsAsTheWindowShowsThem) {
    ConfigRecord config;
    FakeServices services;
    frmGraphicsConfig dialog(config, services);
    dialog.Init();
    EXPECT_EQ(dialog.Caption(), "Brumil - グラフィックデバイスの詳細設定");
    EXPECT_EQ(dialog.CommandOKCaption(), "決定");
    EXPECT_EQ(dialog.CommandCancelCaption(), "キャンセル");
    const std::vector<std::pair<G, std::vector<std::string>>> groups = {
        {G::Render,
         {"32bitcolor ハードウェアレンダリング\u3000(標準設定)",
          "16bitcolor ハードウェアレンダリング", "ソフトウェアレンダリング"}},
        {G::DisplaySize,
         {"640 x 480 標準 (標準設定)", "320 x 240 低解像度", "1024 x 768 高解像度"}},
        {G::Texture, {"RGBA 8888 (標準設定)", "RGBA 4444"}},
        {G::VSink, {"厳密な同期 (標準設定)", "単純な同期", "非同期"}},
        {G::ZBuffer, {"作成しない (標準設定)", "作成する"}},
    };
    const std::vector<std::string> frames = {"レンダリング能力", "解像度", "テクスチャー",
                                             "垂直帰線同期", "Zバッファ"};
    for (const auto& [group, options] : groups) {
        EXPECT_EQ(dialog.FrameCaption(group), frames[std::size_t(group)]);
        ASSERT_EQ(dialog.OptionCount(group), Long(options.size()));
        for (std::size_t i = 0; i < options.size(); ++i)
            EXPECT_EQ(dialog.OptionCaption(group, Long(i)), options[i]);
    }
    EXPECT_EQ(dialog.OptionCaption(G::Texture, 2), "");
    EXPECT_EQ(GraphicsConfigGroups()[0].control, "OptionRender");
}

struct HelpCase {
    G group;
    Long option;
    std::string label;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const HelpCase& c, std::ostream* os) {
    *os << "group=" << static_cast<int>(c.group) << " option=" << c.option << " " << c.label;
}

class GraphicsHelpTest : public GraphicsDialogTest,
                         public ::testing::WithParamInterface<HelpCase> {};

TEST_P(GraphicsHelpTest, PointingShowsTheHelpWithColonsAsLineBreaks) {
    const HelpCase& c = GetParam();
    Open();
    EXPECT_EQ(dialog_.Label1(), "");
    dialog_.Option_MouseMove(c.group, c.option);
    EXPECT_EQ(dialog_.Label1(), c.label);
    dialog_.Form_MouseMove();
    EXPECT_EQ(dialog_.Label1(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Options, GraphicsHelpTest,
    ::testing::Values(
        HelpCase{G::Render, 0, "色の範囲を約1600万色で表示します。\r\n標準設定です。"},
        // The half-width colon breaks the line as well.
        HelpCase{G::Render, 2,
                 "ソフトウェアレンダリングを使用します。\r\n\r\n"
                 "グラフィックカードの３Ｄ機能を一切使用しません。\r\n"
                 "グラフィックカードに依存しなくなりますが、ほとんどの場合は遅い動作になります\r\n"
                 "グラフィックカードの性能が極端に低い場合はこの設定にして下さい"},
        // A trailing colon leaves a last empty line.
        HelpCase{G::DisplaySize, 1,
                 "画面解像度を320x240にします。\r\n\r\nとても高速に動作できますが\r\n"
                 "画面が粗くなり、見づらいです\r\n"},
        HelpCase{
            G::VSink, 2,
            "同期しません。\r\n\r\n動作は速くなりますが。\r\nテアリングイメージが頻繁に発生します"
            "\r\nゲームには向かない設定です。"},
        HelpCase{G::ZBuffer, 0, "Ｚバッファを作成しません。\r\n標準設定です。"}));

TEST_F(GraphicsDialogTest, PointingOutsideAnyOptionKeepsTheHelp) {
    Open();
    dialog_.Option_MouseMove(G::Texture, 1);
    const std::string shown = dialog_.Label1();
    dialog_.Option_MouseMove(G::Texture, 5);
    EXPECT_EQ(dialog_.Label1(), shown);
    EXPECT_NE(shown, "");
}

TEST(DialogText, ColonsOfBothWidthsBecomeLineBreaks) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", ""},
        {"a:b", "a\r\nb"},
        {"a：b", "a\r\nb"},
        {"a：：b", "a\r\n\r\nb"},
        {"a:：b", "a\r\n\r\nb"},
        {"no colon", "no colon"},
        {"：", "\r\n"},
    };
    for (const auto& [text, want] : cases) EXPECT_EQ(ColonLineBreaks(text), want) << text;
}

// ---- The platform's services -------------------------------------------------

TEST(GraphicsDialogPlatform, Job9GoesOnTheFrontEndsListOnlyWhenItExists) {
    auto& front = frontend::gAppConfig();
    ASSERT_FALSE(front);
    GraphicsConfigServices& services = PlatformGraphicsConfigServices();
    EXPECT_FALSE(services.AddFrontEndJob(kApplyGraphicsJobNumber, kApplyGraphicsJobKind));

    front = std::make_unique<frontend::ApplicationConfig>();
    // The dialog's own job holds the top level; job 9 must run beside it.
    front->Job().Add(6, 1);
    front->Job().Poll();
    EXPECT_TRUE(services.AddFrontEndJob(kApplyGraphicsJobNumber, kApplyGraphicsJobKind));
    front->Job().Poll();
    EXPECT_TRUE(front->Job().Test(kApplyGraphicsJobNumber));
    EXPECT_TRUE(front->Job().IsActive(6));
    front.reset();
}

TEST(GraphicsDialogPlatform, UpdateMainMenuMarksTheMainWindow) {
    GraphicsConfigServices& services = PlatformGraphicsConfigServices();
    ASSERT_FALSE(gTheApp());
    services.UpdateMainMenu();  // no window: nothing happens
    gTheApp() = std::make_unique<TheApp>();
    gTheApp()->Running = true;
    services.UpdateMainMenu();
    EXPECT_TRUE(gTheApp()->MenuDirty);
    gTheApp().reset();
}

}  // namespace
}  // namespace brumil::app
