#include "app/key_config_dialog.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "app/graphics_config_dialog.h"
#include "app/main_window_ui.h"
#include "app/settings_dialogs_ui.h"
#include "framework/input_codes.h"
#include "framework/input_module.h"
#include "framework/key_assign.h"
#include "frontend/service_jobs.h"
#include "platform/base/input_devices.h"
#include "platform/base/scan_codes.h"

namespace brumil::app {
namespace {

using framework::JoyButtonCode;
using framework::JoyDirectionCode;
using framework::KeyAssignTable;
using framework::KeyboardCode;
namespace scan = platform::scan;
using Focus = frmKeyConfig::Focus;

// Presses by input step; every device asked answers what went down in the
// current step (the keyboard first for "every device").
class FakeInput final : public KeyConfigInput {
public:
    std::uint64_t serial = 0;
    Long key = 0;
    std::array<Long, 4> joysticks{};
    std::vector<Long> asked;

    Long WaitInputCode(Long device) override {
        asked.push_back(device);
        if (device == -1) {
            if (key != 0) return key;
            for (Long code : joysticks)
                if (code != 0) return code;
            return 0;
        }
        if (device >= 0 && device < Long(joysticks.size())) return joysticks[std::size_t(device)];
        return 0;
    }
    std::uint64_t InputStepSerial() override { return serial; }

    // A new input step in which `code` went down (0: nothing did).
    void NextStep(Long code) {
        ++serial;
        key = 0;
        joysticks = {};
        if (framework::InputClass(code) == framework::kKeyboardClass) {
            key = code;
        } else if (code != 0) {
            joysticks[std::size_t(framework::InputJoystick(code))] = code;
        }
    }
};

std::string NameOf(Long code) {
    return code == 0 ? "" : "#" + std::to_string(code);
}

// A table in which every entry of player p holds a distinct keyboard-free
// code, so tests see which entries changed.
KeyAssignTable DistinctTable() {
    KeyAssignTable t{};
    for (int p = 0; p < framework::kKeyAssignPlayers; ++p)
        for (int e = 0; e < framework::kKeyAssignEntries; ++e)
            t[std::size_t(p)][std::size_t(e)] = JoyButtonCode(p + 4, e);
    return t;
}

// The entry a row sets.
Long& EntryOf(KeyAssignTable& t, Long row) {
    const int entry = KeyConfigRows()[std::size_t(row % 10)].entry;
    return t[std::size_t(row / 10)][std::size_t(entry)];
}

class KeyDialogTest : public ::testing::Test {
protected:
    void Open() {
        dialog_.Place(10, 20);
        dialog_.Init();
        dialog_.Show();
    }
    // One input step with the press, then the dialog's poll.
    void Press(Long code) {
        input_.NextStep(code);
        dialog_.Step();
    }
    // Selects the row by clicking it, then presses the code.
    void AssignTo(Long row, Long code) {
        dialog_.OptionPlayer1_Click(row);
        Press(code);
    }

    KeyAssignTable records_ = DistinctTable();
    FakeInput input_;
    frmKeyConfig dialog_{records_, input_, NameOf};
};

// ---- The rows ----------------------------------------------------------------

TEST(KeyDialogRows, CaptionsEntriesAndEnabledStates) {
    const std::vector<std::pair<std::string, int>> want = {{"ショット", 0},
                                                           {"炸裂ショット", 1},
                                                           {"ボム", 2},
                                                           {"スペシャル", 3},
                                                           {"ルナティックアート", 4},
                                                           {"メニュー表示", 5},
                                                           {"↑", 10},
                                                           {"↓", 11},
                                                           {"←", 12},
                                                           {"→", 13}};
    ASSERT_EQ(KeyConfigRows().size(), want.size());
    KeyAssignTable records{};
    FakeInput input;
    frmKeyConfig dialog(records, input, NameOf);
    dialog.Init();
    for (std::size_t k = 0; k < want.size(); ++k) {
        EXPECT_EQ(KeyConfigRows()[k].caption, want[k].first);
        EXPECT_EQ(KeyConfigRows()[k].entry, want[k].second);
        EXPECT_EQ(dialog.OptionCaption(Long(k)), want[k].first);
        EXPECT_EQ(dialog.OptionCaption(Long(k) + 10), want[k].first);
    }
    EXPECT_EQ(dialog.OptionCaption(20), "補助");
    EXPECT_EQ(dialog.OptionCaption(21), "");
    EXPECT_EQ(dialog.Caption(), "Brumil - キーコンフィグ");
    EXPECT_EQ(dialog.Label1(), "プレイヤー１の設定");
    EXPECT_EQ(dialog.Label2(), "プレイヤー２の設定");
    EXPECT_EQ(dialog.CommandOKCaption(), "決定");
    EXPECT_EQ(dialog.CommandCancelCaption(), "キャンセル");
    std::vector<Long> disabled;
    for (Long option = -1; option <= 21; ++option)
        if (!frmKeyConfig::OptionEnabled(option)) disabled.push_back(option);
    // Both players' "メニュー表示" take no key.
    EXPECT_EQ(disabled, (std::vector<Long>{-1, 5, 15, 21}));
}

TEST_F(KeyDialogTest, InitSelectsRow0StartsTheTimerAndDrawsTheLabels) {
    EXPECT_FALSE(dialog_.IsOpen());
    EXPECT_FALSE(dialog_.Timer1Enabled());
    dialog_.Init();
    EXPECT_TRUE(dialog_.IsOpen());
    EXPECT_FALSE(dialog_.Visible());  // Init does not show the window
    EXPECT_TRUE(dialog_.Timer1Enabled());
    EXPECT_EQ(dialog_.GetSelectedRow(), 0);
    for (Long row = 0; row < 20; ++row)
        EXPECT_EQ(dialog_.LabelPlayer1(row), NameOf(EntryOf(records_, row))) << row;
    EXPECT_EQ(dialog_.LabelPlayer1(20), "");
}

// ---- Assigning ---------------------------------------------------------------

struct MoveCase {
    Long row;
    Long next;
    Focus focus;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const MoveCase& c, std::ostream* os) {
    *os << "row=" << c.row << " next=" << c.next;
}

class KeyDialogMoveTest : public KeyDialogTest, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(KeyDialogMoveTest, StoresTheCodeAndMovesToTheNextEnabledRow) {
    const MoveCase& c = GetParam();
    Open();
    const Long code = KeyboardCode(scan::Q);
    AssignTo(c.row, code);
    EXPECT_EQ(EntryOf(records_, c.row), code);
    EXPECT_EQ(dialog_.LabelPlayer1(c.row), NameOf(code));
    EXPECT_EQ(dialog_.GetSelectedRow(), c.next);
    EXPECT_EQ(dialog_.FocusedControl(), c.focus);
}

INSTANTIATE_TEST_SUITE_P(Rows, KeyDialogMoveTest,
                         ::testing::Values(MoveCase{0, 1, Focus::Picture1},
                                           MoveCase{4, 6, Focus::Picture1},  // 5 skipped
                                           MoveCase{9, 10, Focus::Picture1},
                                           MoveCase{14, 16, Focus::Picture1},  // 15 skipped
                                           MoveCase{18, 19, Focus::Picture1},
                                           MoveCase{19, 20, Focus::CommandOK}));

TEST_F(KeyDialogTest, EachRowSetsItsPlayersEntry) {
    Open();
    for (Long row = 0; row < 20; ++row) {
        if (!frmKeyConfig::OptionEnabled(row)) continue;
        const KeyAssignTable before = records_;
        const Long code = JoyButtonCode(0, int(row));
        AssignTo(row, code);
        KeyAssignTable want = before;
        EntryOf(want, row) = code;
        EXPECT_EQ(records_, want) << "row " << row;
    }
}

TEST_F(KeyDialogTest, AfterTheLastRowFurtherPressesChangeNothing) {
    Open();
    AssignTo(19, KeyboardCode(scan::Q));
    ASSERT_EQ(dialog_.GetSelectedRow(), 20);
    ASSERT_EQ(dialog_.FocusedControl(), Focus::CommandOK);
    const KeyAssignTable after = records_;
    for (Long code : {KeyboardCode(scan::W), JoyButtonCode(0, 3), KeyboardCode(scan::Escape)}) {
        Press(code);
        EXPECT_EQ(records_, after);
        EXPECT_EQ(dialog_.GetSelectedRow(), 20);
        EXPECT_TRUE(dialog_.IsOpen());
    }
}

struct OkKeyCase {
    Long code;
    bool clicks;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const OkKeyCase& c, std::ostream* os) {
    *os << "code=" << c.code << " clicks=" << c.clicks;
}

class KeyDialogOkKeyTest : public KeyDialogTest, public ::testing::WithParamInterface<OkKeyCase> {};

TEST_P(KeyDialogOkKeyTest, OnlyEnterOrSpaceClickTheFocusedOk) {
    Open();
    AssignTo(19, KeyboardCode(scan::Q));
    const KeyAssignTable assigned = records_;
    Press(GetParam().code);
    EXPECT_EQ(dialog_.IsOpen(), !GetParam().clicks);
    EXPECT_EQ(records_, assigned);  // OK keeps, nothing is restored or assigned
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyDialogOkKeyTest,
                         ::testing::Values(OkKeyCase{KeyboardCode(scan::Return), true},
                                           OkKeyCase{KeyboardCode(scan::KeypadEnter), true},
                                           OkKeyCase{KeyboardCode(scan::Space), true},
                                           OkKeyCase{KeyboardCode(scan::Escape), false},
                                           OkKeyCase{JoyButtonCode(0, 0), false}));

TEST_F(KeyDialogTest, EnterOnARowIsCapturedNotAClick) {
    Open();
    AssignTo(3, KeyboardCode(scan::Return));
    EXPECT_TRUE(dialog_.IsOpen());
    EXPECT_EQ(EntryOf(records_, 3), KeyboardCode(scan::Return));
    // A click on a row takes the focus back from OK.
    AssignTo(19, KeyboardCode(scan::Q));
    dialog_.OptionPlayer1_Click(2);
    EXPECT_EQ(dialog_.FocusedControl(), Focus::Picture1);
    Press(KeyboardCode(scan::Space));
    EXPECT_TRUE(dialog_.IsOpen());
    EXPECT_EQ(EntryOf(records_, 2), KeyboardCode(scan::Space));
}

TEST_F(KeyDialogTest, ACodeOfPlayer2MovesToPlayer1AndCancelRestoresAllFourPlayers) {
    const Long code = KeyboardCode(scan::Y);
    EntryOf(records_, 12) = code;              // player 2's bomb
    records_[2][7] = code;                     // player 3's button 8
    records_[3][framework::kAssignUp] = code;  // player 4's up
    const KeyAssignTable opened = records_;
    Open();
    AssignTo(0, code);
    EXPECT_EQ(EntryOf(records_, 0), code);
    EXPECT_EQ(EntryOf(records_, 12), 0);
    EXPECT_EQ(records_[2][7], 0);
    EXPECT_EQ(records_[3][framework::kAssignUp], 0);
    EXPECT_EQ(dialog_.LabelPlayer1(12), "");
    EXPECT_EQ(dialog_.LabelPlayer1(0), NameOf(code));
    dialog_.CommandCancel_Click();
    EXPECT_EQ(records_, opened);
    EXPECT_FALSE(dialog_.IsOpen());
    EXPECT_FALSE(dialog_.Timer1Enabled());
}

TEST_F(KeyDialogTest, TheCloseBoxRestoresLikeCancel) {
    const KeyAssignTable opened = records_;
    Open();
    AssignTo(6, JoyDirectionCode(1, framework::kJoyUp));
    AssignTo(16, KeyboardCode(scan::T));
    dialog_.Form_Close();
    EXPECT_EQ(records_, opened);
    EXPECT_FALSE(dialog_.IsOpen());
}

TEST_F(KeyDialogTest, OkKeepsEveryAssignment) {
    Open();
    const std::vector<std::pair<Long, Long>> assigned = {
        {0, KeyboardCode(scan::Q)},
        {1, KeyboardCode(scan::W)},
        {10, JoyButtonCode(1, 0)},
        {17, JoyDirectionCode(1, framework::kJoyDown)}};
    for (const auto& [row, code] : assigned) AssignTo(row, code);
    const KeyAssignTable edited = records_;
    dialog_.CommandOK_Click();
    EXPECT_FALSE(dialog_.IsOpen());
    EXPECT_FALSE(dialog_.Visible());
    EXPECT_EQ(records_, edited);
    for (const auto& [row, code] : assigned) EXPECT_EQ(EntryOf(records_, row), code);
    // The closed dialog's timer takes no more presses.
    Press(KeyboardCode(scan::E));
    EXPECT_EQ(records_, edited);
}

TEST_F(KeyDialogTest, OnePressPolledSeveralTimesInAStepIsAssignedOnce) {
    Open();
    input_.NextStep(KeyboardCode(scan::R));
    dialog_.Step();
    dialog_.Step();
    dialog_.Timer1_Timer();
    EXPECT_EQ(EntryOf(records_, 0), KeyboardCode(scan::R));
    EXPECT_NE(EntryOf(records_, 1), KeyboardCode(scan::R));
    EXPECT_EQ(dialog_.GetSelectedRow(), 1);
    // The next step's press goes to the next row.
    Press(KeyboardCode(scan::U));
    EXPECT_EQ(EntryOf(records_, 1), KeyboardCode(scan::U));
    EXPECT_EQ(dialog_.GetSelectedRow(), 2);
}

TEST_F(KeyDialogTest, ThePressOfTheStepThatOpenedTheDialogIsNotTaken) {
    input_.NextStep(KeyboardCode(scan::Return));
    const KeyAssignTable before = records_;
    Open();
    dialog_.Step();
    EXPECT_EQ(records_, before);
    EXPECT_EQ(dialog_.GetSelectedRow(), 0);
}

TEST_F(KeyDialogTest, StepsWithoutAPressChangeNothing) {
    Open();
    const KeyAssignTable before = records_;
    for (int i = 0; i < 5; ++i) Press(0);
    EXPECT_EQ(records_, before);
    EXPECT_EQ(dialog_.GetSelectedRow(), 0);
}

TEST_F(KeyDialogTest, APressWithTheAuxiliaryOptionOrBeforeInitIsIgnored) {
    const KeyAssignTable before = records_;
    Press(KeyboardCode(scan::Q));  // not open: the timer is off
    EXPECT_EQ(records_, before);
    Open();
    dialog_.OptionPlayer1_Click(20);
    ASSERT_EQ(dialog_.GetSelectedRow(), 20);
    Press(KeyboardCode(scan::Q));
    EXPECT_EQ(records_, before);
    EXPECT_EQ(dialog_.GetSelectedRow(), 20);
    EXPECT_EQ(dialog_.FocusedControl(), Focus::Picture1);
}

TEST_F(KeyDialogTest, APressWithNoRowSelectedIsIgnored) {
    Open();
    AssignTo(19, KeyboardCode(scan::Q));  // "決定" now holds the focus
    dialog_.OptionPlayer1_Click(3);
    dialog_.ClearSelection();
    ASSERT_EQ(dialog_.GetSelectedRow(), -1);
    const KeyAssignTable before = records_;
    for (Long code : {KeyboardCode(scan::W), JoyButtonCode(1, 2), KeyboardCode(scan::Return)}) {
        Press(code);
        EXPECT_EQ(records_, before);
        EXPECT_EQ(dialog_.GetSelectedRow(), -1);
        EXPECT_TRUE(dialog_.IsOpen());
    }
    // A click selects a row again and the next press goes to it.
    dialog_.OptionPlayer1_Click(7);
    Press(KeyboardCode(scan::W));
    EXPECT_EQ(EntryOf(records_, 7), KeyboardCode(scan::W));
    EXPECT_EQ(dialog_.GetSelectedRow(), 8);
}

TEST_F(KeyDialogTest, DisabledRowsCannotBeSelected) {
    Open();
    dialog_.OptionPlayer1_Click(3);
    for (Long option : {5, 15, 21, -1}) {
        dialog_.OptionPlayer1_Click(option);
        EXPECT_EQ(dialog_.GetSelectedRow(), 3) << option;
    }
}

TEST_F(KeyDialogTest, LabelsShowTheNamesOfTheNewCodes) {
    frmKeyConfig named(records_, input_, framework::GetInputCodeName);
    named.Init();
    named.Show();
    input_.NextStep(KeyboardCode(scan::Z));
    named.Step();
    EXPECT_EQ(named.LabelPlayer1(0), framework::GetInputCodeName(KeyboardCode(scan::Z)));
    EXPECT_EQ(named.LabelPlayer1(0), "Z");
    named.OptionPlayer1_Click(16);
    input_.NextStep(JoyDirectionCode(0, framework::kJoyUp));
    named.Step();
    EXPECT_EQ(named.LabelPlayer1(16), "JOY1 ↑");
    named.CommandOK_Click();
}

// ---- Which device answers ----------------------------------------------------

struct WaitCase {
    const char* name;
    Long key;
    std::array<Long, 4> joysticks;
    Long want;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const WaitCase& c, std::ostream* os) {
    *os << c.name;
}

class WaitKeyOrButtonTest : public ::testing::TestWithParam<WaitCase> {};

TEST_P(WaitKeyOrButtonTest, KeyboardThenJoysticks1And2) {
    const WaitCase& c = GetParam();
    FakeInput input;
    input.key = c.key;
    input.joysticks = c.joysticks;
    EXPECT_EQ(WaitKeyOrButton(input), c.want) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Devices, WaitKeyOrButtonTest,
    ::testing::Values(
        WaitCase{"nothing", 0, {}, 0},
        WaitCase{"key", KeyboardCode(scan::Q), {}, KeyboardCode(scan::Q)},
        WaitCase{
            "key before pad", KeyboardCode(scan::Q), {JoyButtonCode(0, 1)}, KeyboardCode(scan::Q)},
        WaitCase{"joystick 1", 0, {JoyButtonCode(0, 2)}, JoyButtonCode(0, 2)},
        WaitCase{"joystick 2", 0, {0, JoyDirectionCode(1, 3)}, JoyDirectionCode(1, 3)},
        WaitCase{"1 before 2", 0, {JoyButtonCode(0, 5), JoyButtonCode(1, 0)}, JoyButtonCode(0, 5)},
        WaitCase{"joystick 3 is not asked", 0, {0, 0, JoyButtonCode(2, 0)}, 0},
        WaitCase{"joystick 3 does not hide 2",
                 0,
                 {0, JoyButtonCode(1, 4), JoyButtonCode(2, 0)},
                 JoyButtonCode(1, 4)}));

// ---- On the framework's input module -----------------------------------------

TEST(KeyDialogPlatform, TakesEachInputStepsPressOnceFromTheDevices) {
    auto& module = framework::gInputModule();
    platform::NullInputDevices devices;
    platform::InputDevices* previous = module.Devices();
    module.Attach(&devices);
    KeyAssignTable records = DistinctTable();
    frmKeyConfig dialog(records, PlatformKeyConfigInput(), framework::GetInputCodeName);
    dialog.Init();
    dialog.Show();

    devices.SetKey(scan::X, true);
    module.Step();
    dialog.Step();
    dialog.Step();  // the same step again
    module.Step();  // X still held: no new press
    dialog.Step();
    EXPECT_EQ(EntryOf(records, 0), KeyboardCode(scan::X));
    EXPECT_EQ(dialog.GetSelectedRow(), 1);
    devices.SetKey(scan::X, false);
    module.Step();
    dialog.Step();
    devices.SetKey(scan::X, true);  // pressed again: row 1 takes it from row 0
    module.Step();
    dialog.Step();
    EXPECT_EQ(EntryOf(records, 0), 0);
    EXPECT_EQ(EntryOf(records, 1), KeyboardCode(scan::X));
    EXPECT_EQ(dialog.LabelPlayer1(1), "X");
    dialog.CommandOK_Click();
    devices.SetKey(scan::X, false);
    module.Step();
    module.Attach(previous);
}

struct DevicePressCase {
    const char* name;
    std::uint8_t key;            // scan code held, 0 none
    std::array<int, 3> buttons;  // button held on joysticks 1..3, -1 none
    std::array<bool, 3> up;      // up held on joysticks 1..3
    Long want;                   // the code row 0 takes, 0 none
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const DevicePressCase& c, std::ostream* os) {
    *os << c.name;
}

class KeyDialogDeviceTest : public ::testing::TestWithParam<DevicePressCase> {};

TEST_P(KeyDialogDeviceTest, KeyboardThenJoysticks1And2OnTheInputModule) {
    const DevicePressCase& c = GetParam();
    auto& module = framework::gInputModule();
    platform::NullInputDevices devices;
    platform::InputDevices* previous = module.Devices();
    module.Attach(&devices);
    devices.PlugJoysticks(3);
    module.SetupJoysticks();
    KeyAssignTable records = DistinctTable();
    const KeyAssignTable before = records;
    frmKeyConfig dialog(records, PlatformKeyConfigInput(), framework::GetInputCodeName);
    dialog.Init();
    dialog.Show();

    if (c.key != 0) devices.SetKey(c.key, true);
    for (int j = 0; j < 3; ++j) {
        if (c.buttons[std::size_t(j)] >= 0)
            devices.Joystick(j).buttons[std::size_t(c.buttons[std::size_t(j)])] = true;
        devices.Joystick(j).up = c.up[std::size_t(j)];
    }
    module.Step();
    dialog.Step();
    if (c.want == 0) {
        EXPECT_EQ(records, before) << c.name;
        EXPECT_EQ(dialog.GetSelectedRow(), 0) << c.name;
    } else {
        EXPECT_EQ(EntryOf(records, 0), c.want) << c.name;
        EXPECT_EQ(dialog.GetSelectedRow(), 1) << c.name;
    }
    dialog.CommandOK_Click();
    devices.ReleaseAll();
    module.Step();
    module.Attach(previous);
}

INSTANTIATE_TEST_SUITE_P(
    Devices, KeyDialogDeviceTest,
    ::testing::Values(
        DevicePressCase{"key before joystick 1", scan::Q, {0, -1, -1}, {}, KeyboardCode(scan::Q)},
        // The whole-device answer would give joystick 2's direction first.
        DevicePressCase{"joystick 1 before joystick 2",
                        0,
                        {4, -1, -1},
                        {false, true, false},
                        JoyButtonCode(0, 4)},
        DevicePressCase{"joystick 2", 0, {-1, 7, -1}, {}, JoyButtonCode(1, 7)},
        DevicePressCase{"joystick 3 is not asked", 0, {-1, -1, 0}, {false, false, true}, 0},
        DevicePressCase{"nothing", 0, {-1, -1, -1}, {}, 0}));

TEST(SettingsDialogsAttachment, HandsTheDialogsToJobs5And6AndClosesThemOnItsWayOut) {
    frontend::ServiceJobHost& host = ServiceJobHostOf(PlatformServiceJobHost());
    ASSERT_EQ(host.Dialog(frontend::kKeyDialogJob), nullptr);
    KeyAssignTable& shared = framework::gKeyAssign();
    const KeyAssignTable saved = shared;
    shared = DistinctTable();
    const KeyAssignTable opened = shared;
    {
        auto dialogs = AttachSettingsDialogs();
        EXPECT_EQ(host.Dialog(frontend::kKeyDialogJob), &dialogs->KeyConfig());
        EXPECT_EQ(host.Dialog(frontend::kGraphicsDialogJob), &dialogs->GraphicsConfig());
        frmKeyConfig& keys = dialogs->KeyConfig();
        keys.Init();
        keys.Show();
        keys.OptionPlayer1_Click(2);
        EXPECT_EQ(keys.GetSelectedRow(), 2);
        EntryOf(shared, 2) = KeyboardCode(scan::Q);  // as an assignment would
    }
    // An open key configuration is closed like Cancel.
    EXPECT_EQ(shared, opened);
    EXPECT_EQ(host.Dialog(frontend::kKeyDialogJob), nullptr);
    EXPECT_EQ(host.Dialog(frontend::kGraphicsDialogJob), nullptr);
    shared = saved;
}

}  // namespace
}  // namespace brumil::app
