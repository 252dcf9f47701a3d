#include "app/key_setup.h"

#include <gtest/gtest.h>

#include <string>

#include "framework/input_codes.h"
#include "framework/input_module.h"
#include "platform/base/scan_codes.h"

namespace brumil::app {
namespace {

using framework::KeyAssignRecord;
using framework::KeyAssignTable;

// What a record must hold after the set-up, before the saved text.
enum class Expect { Keyboard, Pad, Cleared, Untouched };

constexpr Long kSentinel = framework::KeyboardCode(platform::scan::Q);

KeyAssignRecord KeyboardDefaults() {
    KeyAssignRecord r{};
    framework::SetDefaultKeyAssign1(r);
    return r;
}

KeyAssignRecord PadDefaults(int player) {
    KeyAssignTable t{};
    framework::SetDefaultPadAssign(t);
    return t[std::size_t(player)];
}

KeyAssignTable Sentinels() {
    KeyAssignTable t{};
    for (auto& r : t) r.fill(kSentinel);
    return t;
}

// A settings record whose three key texts each put a different key on
// button 5 of record 0 and leave everything else to the defaults.
ConfigRecord ConfigWithKeyTexts() {
    ConfigRecord c;
    c.Pad0 = ",,,," + std::to_string(framework::KeyboardCode(platform::scan::W));
    c.Pad1 = ",,,," + std::to_string(framework::KeyboardCode(platform::scan::E));
    c.PadX = ",,,," + std::to_string(framework::KeyboardCode(platform::scan::R));
    return c;
}

struct SetupCase {
    Long joysticks;
    Expect records[4];
    Long button5OfRecord0;  // the code the saved text puts there
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const SetupCase& c, std::ostream* os) {
    *os << "joysticks=" << c.joysticks << " button5OfRecord0=" << c.button5OfRecord0;
}

class SetupKeyAssignTest : public ::testing::TestWithParam<SetupCase> {};

TEST_P(SetupKeyAssignTest, DefaultsByJoystickCountThenTheSavedText) {
    const SetupCase& c = GetParam();
    KeyAssignTable table = Sentinels();
    SetupKeyAssign(c.joysticks, ConfigWithKeyTexts(), table);
    for (int p = 0; p < 4; ++p) {
        KeyAssignRecord want{};
        switch (c.records[p]) {
            case Expect::Keyboard:
                want = KeyboardDefaults();
                break;
            case Expect::Pad:
                want = PadDefaults(p);
                break;
            case Expect::Cleared:
                want.fill(0);
                break;
            case Expect::Untouched:
                want.fill(kSentinel);
                break;
        }
        if (p == 0) want[4] = c.button5OfRecord0;
        EXPECT_EQ(table[std::size_t(p)], want) << "record " << p << " with " << c.joysticks;
    }
}

constexpr Long kPad0Key = framework::KeyboardCode(platform::scan::W);
constexpr Long kPad1Key = framework::KeyboardCode(platform::scan::E);
constexpr Long kPadXKey = framework::KeyboardCode(platform::scan::R);

INSTANTIATE_TEST_SUITE_P(
    ByJoystickCount, SetupKeyAssignTest,
    ::testing::Values(
        SetupCase{
            0, {Expect::Keyboard, Expect::Cleared, Expect::Untouched, Expect::Untouched}, kPad0Key},
        SetupCase{1, {Expect::Pad, Expect::Keyboard, Expect::Cleared, Expect::Cleared}, kPad1Key},
        SetupCase{2, {Expect::Pad, Expect::Pad, Expect::Pad, Expect::Pad}, kPadXKey},
        SetupCase{3, {Expect::Pad, Expect::Pad, Expect::Pad, Expect::Pad}, kPadXKey}));

TEST(KeyTextForJoysticks, EachCountHasItsField) {
    ConfigRecord c = ConfigWithKeyTexts();
    EXPECT_EQ(&KeyTextForJoysticks(c, 0), &c.Pad0);
    EXPECT_EQ(&KeyTextForJoysticks(c, 1), &c.Pad1);
    EXPECT_EQ(&KeyTextForJoysticks(c, 2), &c.PadX);
    EXPECT_EQ(&KeyTextForJoysticks(c, 3), &c.PadX);
    EXPECT_EQ(&KeyTextForJoysticks(c, 16), &c.PadX);
}

TEST(SetupKeyAssign, AnEmptyTextLeavesTheDefaults) {
    KeyAssignTable table = Sentinels();
    SetupKeyAssign(0, ConfigRecord{}, table);
    EXPECT_EQ(table[0], KeyboardDefaults());
}

TEST(SetupKeyAssign, TheSharedSetUpRemembersTheCountItUsed) {
    // No input devices are attached in the tests: the count is 0.
    framework::gKeyAssign() = Sentinels();
    SetupKeyAssign();
    EXPECT_EQ(KeyAssignJoystickCount(), framework::GetJoystickCount());
    EXPECT_EQ(framework::gKeyAssign()[0], KeyboardDefaults());
}

}  // namespace
}  // namespace brumil::app
