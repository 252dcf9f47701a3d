#include "frontend/key_setup_screen.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/input_codes.h"
#include "frontend/logo_sequence.h"
#include "frontend/view.h"
#include "screen_test_fixture.h"

namespace brumil::frontend {
namespace {

using framework::gKeyAssign;
using framework::JoyButtonCode;
using framework::KeyAssignRecord;
using framework::KeyboardCode;
namespace scan = platform::scan;
using Lines = std::vector<std::string>;

// ---- Texts ----------------------------------------------------------------

TEST(KeySetupTexts, HeadingAndPageLinesPerJoystickCount) {
    struct Case {
        Long joysticks, page;
        std::string heading, pageLabel, pageName;
        Long offset;
    };
    const std::string noPad = " -1,  0,  0,500, 0,1,・コントローラーが接続されていません";
    const std::string padHeading = " -1,  0,  0,500, 0,1,";
    const Case cases[] = {
        {0, 0, noPad, " -1,  0,  0,500, 30,1,・キーボードの設定", "", 45},
        {1, 0, padHeading, " -1,  0,  0,500, 30,1,・コントローラーの設定", "", 90},
        {2, 0, padHeading, " -1,  0,  0,500, 30,1,・コントローラー１の設定",
         " -1,160,240,500, 30,1,コントローラー１の設定", 90},
        {2, 1, padHeading, " -1,  0,  0,500, 30,1,・コントローラー２の設定",
         " -1,160,240,500, 30,1,コントローラー２の設定", 90},
        {3, 1, padHeading, " -1,  0,  0,500, 30,1,・コントローラー２の設定",
         " -1,160,240,500, 30,1,コントローラー２の設定", 90},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.joysticks << " pads, page " << c.page);
        EXPECT_EQ(KeySetupHeadingLine(c.joysticks), c.heading);
        const Lines labels = KeySetupLabelLines(c.joysticks, c.page);
        ASSERT_FALSE(labels.empty());
        EXPECT_EQ(labels.front(), c.pageLabel);
        EXPECT_EQ(labels.size(), c.joysticks == 0 ? 10u : 6u);
        EXPECT_EQ(KeySetupPageNameLine(c.joysticks, c.page), c.pageName);
        EXPECT_EQ(KeySetupRowOffset(c.joysticks), c.offset);
    }
}

TEST(KeySetupTexts, RowLabelsAndItemsAreTheScreensOwn) {
    const Lines labels = KeySetupLabelLines(0, 0);
    const Lines wantLabels = {
        " -1,  0,  0,500, 30,1,・キーボードの設定",
        " -1,160, 30,500, 30,1,ショット (決定ボタン)",
        " -1,160, 60,500, 30,1,炸裂ショット (キャンセルボタン)",
        " -1,160, 90,500, 30,1,ボム",
        " -1,160,120,500, 30,1,スペシャル",
        " -1,160,150,500, 30,1,ルナティックアート",
        " -1,160,210,500, 30,1,上",
        " -1,160,240,500, 30,1,下",
        " -1,160,270,500, 30,1,左",
        " -1,160,300,500, 30,1,右",
    };
    EXPECT_EQ(labels, wantLabels);

    const Lines keyboard = {
        "  0,150, 75,350, 28,1,#ショット",
        "  1,150,105,350, 28,1,#チャージ",
        "  2,150,135,350, 28,1,#ボム",
        "  3,150,165,350, 28,1,#バリエーション",
        "  4,150,195,350, 28,1,#ルナティックアーツ",
        "  6,160,255,500, 30,1,#上",
        "  7,160,285,500, 30,1,#下",
        "  8,160,315,500, 30,1,#左",
        "  9,160,345,500, 30,1,#右",
        " 11,170,395,300, 50,1,#決定",
    };
    const Lines onePad = {
        "  0,150,120,350, 28,1,#ショット",
        "  1,150,150,350, 28,1,#チャージ",
        "  2,150,180,350, 28,1,#ボム",
        "  3,150,210,350, 28,1,#バリエーション",
        "  4,150,240,350, 28,1,#ルナティックアーツ",
        " 11,170,395,300, 50,1,#決定",
    };
    Lines twoPads = onePad;
    twoPads.insert(twoPads.end() - 1, " 10,150,330,350, 28,1,#コントローラー２");
    EXPECT_EQ(KeySetupItemLines(0), keyboard);
    EXPECT_EQ(KeySetupItemLines(1), onePad);
    EXPECT_EQ(KeySetupItemLines(2), twoPads);
    EXPECT_EQ(KeySetupItemLines(4), twoPads);
}

TEST(KeySetupTexts, NameLinesShowTheRecordsShortNames) {
    KeyAssignRecord record{};
    framework::SetDefaultKeyAssign1(record);
    const Lines keyboard = KeySetupNameLines(0, record);
    ASSERT_EQ(keyboard.size(), 9u);
    EXPECT_EQ(keyboard[0], " -1, 30, 30,120, 30,1," + framework::GetInputCodeShortName(record[0]));
    EXPECT_NE(keyboard[0], " -1, 30, 30,120, 30,1,");
    // Button 5 has no default: its row is empty.
    EXPECT_EQ(keyboard[4], " -1, 30,150,120, 30,1,");
    EXPECT_EQ(keyboard[5], " -1, 30,210,120, 30,1," +
                               framework::GetInputCodeShortName(record[framework::kAssignUp]));
    EXPECT_EQ(keyboard[8].rfind(" -1, 30,300,120, 30,1,", 0), 0u);
    EXPECT_EQ(KeySetupNameLines(2, record).size(), 5u);
}

TEST(KeySetupTexts, ItemsMapToRecordEntriesAndCompletenessRule) {
    const std::pair<Long, Long> entries[] = {{-1, -1}, {0, 0},   {4, 4},   {5, 5},  {6, 10},
                                             {9, 13},  {10, -1}, {11, -1}, {12, -1}};
    for (auto [item, entry] : entries) EXPECT_EQ(KeySetupEntryOfItem(item), entry) << item;

    KeyAssignRecord full{};
    for (Long& code : full) code = KeyboardCode(scan::Q);
    struct Case {
        int clearedEntry;  // -1: none
        Long joysticks;
        bool complete;
    };
    const Case cases[] = {{-1, 0, true},  {4, 0, false}, {4, 2, false}, {5, 0, true},
                          {11, 0, false}, {11, 1, true}, {13, 2, true}, {0, 1, false}};
    for (const Case& c : cases) {
        KeyAssignRecord r = full;
        if (c.clearedEntry >= 0) r[static_cast<std::size_t>(c.clearedEntry)] = 0;
        EXPECT_EQ(KeySetupRecordComplete(r, c.joysticks), c.complete)
            << c.clearedEntry << " / " << c.joysticks;
    }
}

// ---- The screen on the job list ------------------------------------------

class KeySetupScreen : public screentest::ScreenFixture {
protected:
    void Begin() {
        StartDisplay();
        app.Job().Add(ApplicationConfig::Key(kKeySetupJob), 0);
        Step();
        ASSERT_TRUE(app.Job().Test(ApplicationConfig::Key(kKeySetupJob)));
        ASSERT_TRUE(app.CurrentView);
    }
    CView& View() { return *app.CurrentView; }
    Long Cursor() { return View().InterfaceCursor(); }
    void CursorTo(Long item) {
        View().InterfaceReset(item);
        Step();
        host.sounds.clear();
    }
    ScreenState& St() { return app.State; }
};

TEST_F(KeySetupScreen, BeginsOnTheKeyboardPageWithMenusEnabled) {
    Begin();
    EXPECT_EQ(host.menus, std::vector<bool>{true});
    EXPECT_EQ(St().JoystickCount, 0);
    EXPECT_EQ(St().Page, 0);
    EXPECT_EQ(St().KeyRecord[0], gKeyAssign()[0]);
    core::CRects& items = View().GetRects();
    EXPECT_EQ(items.ItemCaption(11), "#決定");
    EXPECT_TRUE(items.InUse(9));
    EXPECT_FALSE(items.InUse(5));
    EXPECT_FALSE(items.InUse(10));
    EXPECT_EQ(Cursor(), 0);
    // The background picture is on show.
    EXPECT_EQ(Back(630, 470), static_cast<std::uint32_t>(screentest::kBackgroundColour) & 0xFFFFFF);
}

TEST_F(KeySetupScreen, KeyboardArrowsMoveOnButtonRowsAndAreCapturedOnDirectionRows) {
    struct Case {
        Long from;
        platform::ScanCode key;
        Long cursor;
        std::vector<std::pair<int, Long>> record;  // entries expected afterwards
        std::vector<Long> sounds;
    };
    const Long up = KeyboardCode(scan::Up), down = KeyboardCode(scan::Down);
    const Long x = KeyboardCode(scan::X);
    const Case cases[] = {
        {0, scan::Down, 1, {{10, up}, {11, down}}, {4}},
        {1, scan::Up, 0, {{10, up}, {11, down}}, {4}},
        {4, scan::Down, 6, {}, {4}},  // item 5 has no line
        {0, scan::Up, 11, {}, {4}},   // wraps to the last item
        {0, scan::Left, 0, {{12, KeyboardCode(scan::Left)}}, {}},
        {3, scan::Right, 3, {{13, KeyboardCode(scan::Right)}}, {}},
        // On the direction rows every key is the assignment, and a code leaves
        // the row it had.
        {6, scan::Down, 7, {{10, down}, {11, 0}}, {2}},
        {9, scan::Up, 11, {{13, up}, {10, 0}}, {2}},
        {7, scan::S, 8, {{11, KeyboardCode(scan::S)}}, {2}},
        // Elsewhere any other key is captured.
        {0, scan::X, 1, {{0, x}, {1, 0}}, {2}},
        {4, scan::S, 6, {{4, KeyboardCode(scan::S)}}, {2}},
        // On "決定" nothing is captured.
        {11, scan::S, 11, {{4, 0}}, {}},
    };
    Begin();
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "from " << c.from << " key " << int(c.key));
        framework::SetDefaultKeyAssign1(0);
        CursorTo(c.from);
        const KeyAssignRecord before = gKeyAssign()[0];
        Press(c.key);
        EXPECT_EQ(Cursor(), c.cursor);
        KeyAssignRecord want = before;
        for (auto [entry, code] : c.record) want[static_cast<std::size_t>(entry)] = code;
        EXPECT_EQ(gKeyAssign()[0], want);
        EXPECT_EQ(host.sounds, c.sounds);
        EXPECT_TRUE(app.Job().Test(ApplicationConfig::Key(kKeySetupJob)));
    }
}

TEST_F(KeySetupScreen, ConfirmWaitsForButtonFiveThenHandsOverWithThePaintedPicture) {
    Begin();
    CursorTo(kKeySetupDecideItem);
    Press(scan::Return);
    Press(scan::Z);  // button 1 through the virtual keys
    EXPECT_TRUE(app.Job().Test(ApplicationConfig::Key(kKeySetupJob)));
    EXPECT_EQ(host.sounds, std::vector<Long>{}) << "an incomplete record is refused silently";

    CursorTo(4);
    Press(scan::S);
    ASSERT_EQ(gKeyAssign()[0][4], KeyboardCode(scan::S));
    CursorTo(kKeySetupDecideItem);
    devices.SetKey(scan::Return, true);
    Step();
    EXPECT_EQ(host.sounds, std::vector<Long>{1});
    // The hand-over took effect on the list's next poll; the picture is
    // already the screen's last frame, as presented.
    EXPECT_EQ(DiffersFromBack(app.WorkPicture), 0);
    EXPECT_EQ(app.WorkPicture.GetWidth(), 640);
    EXPECT_EQ(static_cast<std::uint32_t>(app.WorkPicture.dwGetPixel(630, 470)) & 0xFFFFFF,
              static_cast<std::uint32_t>(screentest::kBackgroundColour) & 0xFFFFFF);
    devices.SetKey(scan::Return, false);
    Step();
    EXPECT_FALSE(app.Job().Test(ApplicationConfig::Key(kKeySetupJob)));
    EXPECT_TRUE(app.Job().Test(ApplicationConfig::Key(kLogoJob)));
    EXPECT_EQ(host.menus, (std::vector<bool>{true, true}));
}

TEST_F(KeySetupScreen, CaptureOnTheLastRowDoesNotAlsoConfirm) {
    Begin();
    framework::RemoveKeyAssign(KeyboardCode(scan::Right));
    gKeyAssign()[0][4] = KeyboardCode(scan::S);
    CursorTo(9);
    // Enter is the decide key of the keyboard member and the new Right.
    Press(scan::Return);
    EXPECT_EQ(gKeyAssign()[0][13], KeyboardCode(scan::Return));
    EXPECT_EQ(Cursor(), kKeySetupDecideItem);
    EXPECT_EQ(host.sounds, std::vector<Long>{2});
    EXPECT_TRUE(app.Job().Test(ApplicationConfig::Key(kKeySetupJob)));
    EXPECT_FALSE(app.Job().Test(ApplicationConfig::Key(kLogoJob)));
}

TEST_F(KeySetupScreen, JoystickCountChangeRestartsOnPageZeroAndItemTenTogglesPages) {
    // Near the clock's wrap, so the 2000 ms rescan deadline wraps too.
    clock.SetMs(0xFFFFFFFFu - 500u);
    Begin();
    devices.PlugJoysticks(2);
    clock.SleepMs(1999);
    Step();
    EXPECT_EQ(St().JoystickCount, 0) << "pads are counted again only every 2000 ms";
    EXPECT_TRUE(host.keySetupCounts.empty());
    clock.SleepMs(1);
    Step();
    ASSERT_EQ(St().JoystickCount, 2);
    EXPECT_EQ(host.keySetupCounts, std::vector<Long>{2});
    EXPECT_EQ(St().Page, 0);
    EXPECT_EQ(St().KeyRecord[1], gKeyAssign()[1]);
    EXPECT_TRUE(View().GetRects().InUse(kKeySetupPageItem));
    EXPECT_FALSE(View().GetRects().InUse(6));

    // Pad 1 moves down to "コントローラー２" and decides with its button 1.
    for (int i = 0; i < 5; ++i) PressPadDown(0);
    ASSERT_EQ(Cursor(), kKeySetupPageItem);
    host.sounds.clear();
    PressPadButton(0, 0);
    EXPECT_EQ(St().Page, 1);
    EXPECT_EQ(Cursor(), 0);
    EXPECT_EQ(host.sounds, std::vector<Long>{1});
    EXPECT_EQ(framework::gKeyAssign()[0][0], JoyButtonCode(0, 0)) << "no capture on item 10";

    // Page 1 edits player 2's record with pad 2's buttons.
    host.sounds.clear();
    PressPadButton(1, 5);
    EXPECT_EQ(gKeyAssign()[1][0], JoyButtonCode(1, 5));
    EXPECT_EQ(gKeyAssign()[1][5], 0);
    EXPECT_EQ(host.sounds, std::vector<Long>{2});
    EXPECT_EQ(Cursor(), 1);
    // The other pad moves the cursor too; pad 2 decides on item 10 with its
    // new button 1.
    for (int i = 0; i < 4; ++i) PressPadDown(0);
    ASSERT_EQ(Cursor(), kKeySetupPageItem);
    PressPadButton(1, 5);
    EXPECT_EQ(St().Page, 0);

    // Unplugged: the keyboard page again.
    devices.PlugJoysticks(0);
    clock.SleepMs(2000);
    Step();
    EXPECT_EQ(St().JoystickCount, 0);
    EXPECT_EQ(host.keySetupCounts, (std::vector<Long>{2, 0}));
    EXPECT_TRUE(View().GetRects().InUse(6));
}

TEST_F(KeySetupScreen, ReactivationRedrawsTheNamesFromTheCurrentAssignments) {
    Begin();
    const image::CmgBBI before = *View().Layer()->BBI(3);
    app.Job().Add(5, 1);  // a modal job above the screen (no dialog: it stays)
    Step();
    gKeyAssign()[0][0] = KeyboardCode(scan::Q);
    gKeyAssign()[0][4] = KeyboardCode(scan::W);
    app.Job().Remove(5);
    Step();
    const image::CmgBBI after = *View().Layer()->BBI(3);
    EXPECT_FALSE(SamePixels(before, after));

    // The same as a screen built from scratch on these assignments.
    ApplicationConfig fresh;
    fresh.Screens = &host;
    fresh.Job().Add(ApplicationConfig::Key(kKeySetupJob), 0);
    fresh.Job().Poll();
    ASSERT_TRUE(fresh.CurrentView);
    EXPECT_TRUE(SamePixels(after, *fresh.CurrentView->Layer()->BBI(3)));
    fresh.Job().Destroy();
    fresh.Job().Poll();
}

TEST_F(KeySetupScreen, ItemWithoutRectangleClearsTheCursor) {
    Begin();
    const auto cursorPixel = [&] { return View().Layer()->BBI(4)->dwGetPixel(300, 80); };
    struct Case {
        const char* how;
        bool click;
        Long item;
    };
    const Case cases[] = {{"click on no item", true, -1}, {"item 5 has no line", false, 5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        CursorTo(0);
        ASSERT_NE(cursorPixel(), 0) << "the cursor is drawn on item 0";
        if (c.click) {
            devices.Mouse().left = true;
            devices.Mouse().pointer.x = 5.0f / 640.0f;
            devices.Mouse().pointer.y = 5.0f / 480.0f;
            Step();
            devices.Mouse().left = false;
            Step();
        } else {
            CursorTo(c.item);
        }
        EXPECT_EQ(Cursor(), c.item);
        EXPECT_EQ(cursorPixel(), 0);
    }
}

TEST_F(KeySetupScreen, WithoutScreenHostTheJobDoesNothing) {
    app.Screens = nullptr;
    StartDisplay();
    app.Job().Add(ApplicationConfig::Key(kKeySetupJob), 0);
    Step();
    Press(scan::Return);
    EXPECT_FALSE(app.CurrentView);
    EXPECT_TRUE(app.Job().Test(ApplicationConfig::Key(kKeySetupJob)));
}

}  // namespace
}  // namespace brumil::frontend
