#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "framework/input_codes.h"
#include "framework/input_module.h"
#include "framework/key_assign.h"
#include "framework/vkey.h"
#include "platform/base/input_devices.h"
#include "platform/base/scan_codes.h"

namespace brumil::framework {
namespace {

namespace scan = platform::scan;

TEST(HoldCount, FollowsTheHoldRule) {
    // Down for three steps, up for two, down again.
    const std::vector<bool> downs = {true, true, true, false, false, true, false};
    const std::vector<Long> expected = {1, 2, 3, -3, 0, 1, -1};
    Long count = 0;
    for (std::size_t i = 0; i < downs.size(); ++i) {
        count = NextHoldCount(count, downs[i]);
        EXPECT_EQ(count, expected[i]) << "step " << i;
    }
    EXPECT_EQ(NextHoldCount(2147483647, true), 2147483647);  // saturates, never wraps
}

VKeyFlags Flags(bool up, bool down, bool left, bool right, int button = 0) {
    VKeyFlags f{};
    f[kFlagUp] = up;
    f[kFlagDown] = down;
    f[kFlagLeft] = left;
    f[kFlagRight] = right;
    if (button > 0) f[std::size_t(button - 1)] = true;
    return f;
}

TEST(VKey, DirectionCodes) {
    struct Case {
        bool up, down, left, right;
        Long x, y, code;
    };
    const std::vector<Case> table = {
        {false, false, false, false, 0, 0, 0},
        {true, false, false, false, 0, -1, 3},
        {false, true, false, false, 0, 1, -3},
        {false, false, true, false, -1, 0, -1},
        {false, false, false, true, 1, 0, 1},
        {true, false, true, false, -1, -1, 2},
        {true, false, false, true, 1, -1, 4},
        {false, true, true, false, -1, 1, -4},
        {false, true, false, true, 1, 1, -2},
        {true, true, false, false, 0, 0, 0},  // opposites cancel
        {true, true, true, true, 0, 0, 0},
    };
    for (const Case& c : table) {
        VKeyRecord r;
        UpdateVKey(r, Flags(c.up, c.down, c.left, c.right));
        EXPECT_EQ(r[kVKeyX], c.x);
        EXPECT_EQ(r[kVKeyY], c.y);
        EXPECT_EQ(r[kVKeyDirection], c.code) << c.up << c.down << c.left << c.right;
    }
}

TEST(VKey, DirectionHoldRestartsWhenTheCodeChanges) {
    VKeyRecord r;
    const std::vector<std::pair<VKeyFlags, Long>> steps = {
        {Flags(false, false, false, true), 1},  {Flags(false, false, false, true), 2},
        {Flags(false, false, false, true), 3},  {Flags(true, false, false, true), 1},
        {Flags(true, false, false, true), 2},   {Flags(false, false, false, false), 1},
        {Flags(false, false, false, false), 2},
    };
    for (std::size_t i = 0; i < steps.size(); ++i) {
        UpdateVKey(r, steps[i].first);
        EXPECT_EQ(r[kVKeyDirectionHold], steps[i].second) << "step " << i;
    }
}

TEST(VKey, ButtonCountsAndNewestButton) {
    VKeyRecord r;
    UpdateVKey(r, Flags(false, false, false, false, 3));
    EXPECT_EQ(r[kVKeyButton1 + 2], 1);
    EXPECT_EQ(r[kVKeyNewest], 3);
    VKeyFlags both = Flags(false, false, false, false, 3);
    both[6] = true;  // button 7 goes down while 3 is held
    both[1] = true;  // and button 2
    UpdateVKey(r, both);
    EXPECT_EQ(r[kVKeyButton1 + 2], 2);
    EXPECT_EQ(r[kVKeyNewest], 2);  // the lowest of those that went down this step
    UpdateVKey(r, Flags(false, false, false, false));
    EXPECT_EQ(r[kVKeyButton1 + 2], -2);
    EXPECT_EQ(r[kVKeyButton1 + 6], -1);
    EXPECT_EQ(r[kVKeyNewest], 0);
    UpdateVKey(Long{7}, both);  // outside 0..3: ignored, no crash
}

// An input module on null devices, with the shared records reset.
class InputModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        module.Attach(&devices);
        module.SetVKeyCount(4);
        gKeyAssign() = KeyAssignTable{};
        VKey() = {};
        gVKeyFromDevices() = {true, true, true, true};
        gInputState() = InputStateBlock{};
    }
    void TearDown() override { module.Attach(nullptr); }
    void Step() { module.Step(); }

    platform::NullInputDevices devices;
    InputModule module;
};

TEST_F(InputModuleTest, InputBlockHoldCounts) {
    devices.SetKey(scan::KeypadEnter, true);
    devices.SetKey(scan::RightCtrl, true);
    devices.SetKey(scan::Left, true);
    devices.Mouse().left = true;
    Step();
    InputStateBlock& s = gInputState();
    EXPECT_EQ(s.Enter, 1);
    EXPECT_EQ(s.Ctrl, 1);
    EXPECT_EQ(s.Left, 1);
    EXPECT_EQ(s.Arrows, 1);
    EXPECT_EQ(s.MouseLeft, 1);
    devices.SetKey(scan::Left, false);
    devices.SetKey(scan::Up, true);  // the arrows taken together stay held
    Step();
    EXPECT_EQ(s.Left, -1);
    EXPECT_EQ(s.Up, 1);
    EXPECT_EQ(s.Arrows, 2);
    EXPECT_EQ(s.Enter, 2);
    devices.ReleaseAll();
    Step();
    Step();
    EXPECT_EQ(s.Enter, 0);
    EXPECT_EQ(s.Arrows, 0);
}

TEST_F(InputModuleTest, PointerIsPerStep) {
    devices.Mouse().pointer = {2, true, 0.25f, 0.5f, 160, 240};
    Step();
    EXPECT_EQ(gInputState().Wheel, 2);
    EXPECT_TRUE(gInputState().MouseMoved);
    EXPECT_FLOAT_EQ(gInputState().MouseX, 0.25f);
    Step();
    EXPECT_EQ(gInputState().Wheel, 0);
    EXPECT_FALSE(gInputState().MouseMoved);
    EXPECT_EQ(gInputState().MouseScreenY, 240);
}

TEST_F(InputModuleTest, VirtualKeysFollowTheAssignments) {
    SetDefaultKeyAssign1(0);
    devices.PlugJoysticks(2);
    module.SetupJoysticks();
    SetDefaultPadAssign(gKeyAssign());
    SetDefaultKeyAssign1(0);
    devices.SetKey(scan::Z, true);
    devices.SetKey(scan::Up, true);
    devices.Joystick(1).right = true;
    devices.Joystick(1).buttons[1] = true;
    Step();
    EXPECT_EQ(VKey()[0][kVKeyButton1], 1);
    EXPECT_EQ(VKey()[0][kVKeyDirection], 3);  // up
    EXPECT_EQ(VKey()[1][kVKeyButton1 + 1], 1);
    EXPECT_EQ(VKey()[1][kVKeyDirection], 1);  // right on pad 2
    // A player whose record is not filled from the devices keeps it.
    gVKeyFromDevices()[0] = false;
    devices.SetKey(scan::Z, false);
    Step();
    EXPECT_EQ(VKey()[0][kVKeyButton1], 1);
    EXPECT_EQ(VKey()[1][kVKeyButton1 + 1], 2);
}

TEST_F(InputModuleTest, VKeyCountLimitsThePlayersFilled) {
    module.SetVKeyCount(1);
    SetDefaultKeyAssign1(0);
    SetDefaultKeyAssign1(1);
    devices.SetKey(scan::X, true);
    Step();
    EXPECT_EQ(VKey()[0][kVKeyButton1 + 1], 1);
    EXPECT_EQ(VKey()[1][kVKeyButton1 + 1], 0);
}

TEST_F(InputModuleTest, WaitInputCodeRules) {
    devices.PlugJoysticks(2);
    module.SetupJoysticks();
    struct Case {
        const char* name;
        std::function<void()> press;
        Long device;
        Long expected;
    };
    const std::vector<Case> table = {
        {"nothing", [] {}, -1, 0},
        {"one key", [&] { devices.SetKey(scan::Return, true); }, -1, 0x1000 + 28},
        {"lowest of several keys",
         [&] {
             devices.SetKey(scan::Up, true);
             devices.SetKey(scan::Escape, true);
             devices.SetKey(scan::Z, true);
         },
         -1, 0x1001},
        {"the keyboard query sees the key beside a pad button",
         [&] {
             devices.SetKey(scan::Down, true);
             devices.Joystick(0).buttons[0] = true;
         },
         -1, 0x1000 + 208},
        {"a pad button is not seen on the keyboard query",
         [&] { devices.Joystick(1).buttons[4] = true; }, -1, 0},
        {"pad 2 button on its own query", [&] { devices.Joystick(1).buttons[4] = true; }, 1,
         0x4104},
        {"pad 1 direction", [&] { devices.Joystick(0).down = true; }, 0, 0x2001},
        {"pad 2 up", [&] { devices.Joystick(1).up = true; }, 1, 0x2100},
        {"direction before button",
         [&] {
             devices.Joystick(1).buttons[0] = true;
             devices.Joystick(1).left = true;
         },
         1, 0x2102},
        {"the other pad's input is not seen", [&] { devices.Joystick(0).buttons[3] = true; }, 1, 0},
        {"a key is not seen on a pad query", [&] { devices.SetKey(scan::A, true); }, 0, 0},
        {"a pad past the count", [&] {}, 5, 0},
        {"a device below -1", [&] { devices.SetKey(scan::A, true); }, -2, 0},
    };
    for (const Case& c : table) {
        SCOPED_TRACE(c.name);
        devices.ReleaseAll();
        Step();
        Step();
        c.press();
        Step();
        EXPECT_EQ(module.WaitInputCode(c.device), c.expected);
        EXPECT_EQ(module.WaitInputCode(c.device), c.expected);  // same answer within the step
        Step();                                                 // still held: no longer new
        EXPECT_EQ(module.WaitInputCode(c.device), 0);
    }
}

TEST_F(InputModuleTest, JoystickCountChangesOnlyWhenEnumerated) {
    EXPECT_EQ(module.JoystickCount(), 0);
    devices.PlugJoysticks(3);
    Step();
    EXPECT_EQ(module.JoystickCount(), 0);
    module.SetupJoysticks();
    EXPECT_EQ(module.JoystickCount(), 3);
    devices.PlugJoysticks(1);
    EXPECT_EQ(module.JoystickCount(), 3);
    Step();  // an unplugged pad reads as released, never crashes
    module.SetupJoysticks();
    EXPECT_EQ(module.JoystickCount(), 1);
}

TEST_F(InputModuleTest, HoldCountOfCodes) {
    devices.PlugJoysticks(1);
    module.SetupJoysticks();
    devices.SetKey(scan::C, true);
    devices.Joystick(0).right = true;
    Step();
    Step();
    const InputTracker& t = module.Tracker();
    EXPECT_EQ(t.HoldCount(KeyboardCode(scan::C)), 2);
    EXPECT_EQ(t.HoldCount(JoyDirectionCode(0, kJoyRight)), 2);
    EXPECT_EQ(t.HoldCount(JoyDirectionCode(3, kJoyRight)), 0);  // no such pad
    EXPECT_EQ(t.HoldCount(0x1234567), 0);                       // invalid code
    EXPECT_EQ(t.HoldCount(0), 0);
}

}  // namespace
}  // namespace brumil::framework
