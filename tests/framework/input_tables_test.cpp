// An input module handed its own tables reads and writes those alone: the
// shared records keep whatever they held, so an input source of its own needs
// no reset of the shared ones.
#include <gtest/gtest.h>

#include <array>
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

struct OwnTables {
    InputStateBlock state;
    KeyAssignTable keys{};
    std::array<VKeyRecord, kVKeyPlayers> vkeys{};
    std::array<bool, kVKeyPlayers> fromDevices{true, true, true, true};

    InputTables Tables() { return {&state, &keys, &vkeys, &fromDevices}; }
};

// Marks the shared records so that any write to them shows.
void MarkShared() {
    gInputState() = InputStateBlock{};
    gInputState().Enter = 77;
    gKeyAssign() = KeyAssignTable{};
    for (VKeyRecord& r : VKey()) r.Entry.fill(55);
    gVKeyFromDevices() = {true, true, true, true};
}

void ExpectSharedUntouched() {
    EXPECT_EQ(gInputState().Enter, 77);
    for (const VKeyRecord& r : VKey()) {
        for (Long v : r.Entry) EXPECT_EQ(v, 55);
    }
}

TEST(InputTables, AStepFillsOnlyTheTablesItWasHanded) {
    struct Case {
        const char* name;
        int player;
        int assignEntry;  // the key-table entry the pressed key is assigned to
        platform::ScanCode scanCode;
        bool fromDevices;
        int recordEntry;  // the virtual-key entry that shows it
        Long expected;
    };
    const std::vector<Case> table = {
        {"button 1 of player 1", 0, 0, scan::Z, true, kVKeyButton1, 1},
        {"button 3 of player 2", 1, 2, scan::C, true, kVKeyButton1 + 2, 1},
        {"up of player 3", 2, kAssignUp, scan::Up, true, kVKeyDirection, 3},
        {"right of player 4", 3, kAssignRight, scan::Right, true, kVKeyX, 1},
        {"a player driven by something else is left alone", 1, 0, scan::Z, false, kVKeyButton1, 0},
    };
    for (const Case& c : table) {
        SCOPED_TRACE(c.name);
        MarkShared();
        OwnTables own;
        own.keys[std::size_t(c.player)][std::size_t(c.assignEntry)] = kKeyboardClass | c.scanCode;
        own.fromDevices[std::size_t(c.player)] = c.fromDevices;
        platform::NullInputDevices devices;
        InputModule module;
        module.Attach(&devices, own.Tables());
        devices.SetKey(c.scanCode, true);
        devices.SetKey(scan::Return, true);
        module.Step();
        EXPECT_EQ(own.vkeys[std::size_t(c.player)][c.recordEntry], c.expected);
        EXPECT_EQ(own.state.Enter, 1);
        ExpectSharedUntouched();
        module.Attach(nullptr);
    }
}

TEST(InputTables, AttachingWithoutTablesUsesTheSharedOnes) {
    OwnTables own;
    platform::NullInputDevices devices;
    InputModule module;
    module.Attach(&devices, own.Tables());
    EXPECT_EQ(module.Tables().keys, &own.keys);
    module.Attach(&devices);
    EXPECT_EQ(module.Tables().state, &gInputState());
    EXPECT_EQ(module.Tables().keys, &gKeyAssign());
    EXPECT_EQ(module.Tables().vkeys, &VKey());
    EXPECT_EQ(module.Tables().fromDevices, &gVKeyFromDevices());
    module.Attach(nullptr);
}

}  // namespace
}  // namespace brumil::framework
