#include "app/key_text_store.h"

#include <gtest/gtest.h>

#include <string>

#include "app/key_config_dialog.h"

namespace brumil::app {
namespace {

TEST(KeyTextStore, GoesToTheSlotOfTheSetUpCount) {
    struct Case {
        Long joysticks;
        std::string pad0, pad1, padX;
    };
    const Case cases[] = {
        {-1, "p0", "p1", "px"},  // never set up: nothing changes
        {0, "NEW", "p1", "px"},  {1, "p0", "NEW", "px"},
        {2, "p0", "p1", "NEW"},  {3, "p0", "p1", "NEW"},  // three pads share the slot of two
        {16, "p0", "p1", "NEW"},
    };
    const ConfigRecord before = [] {
        ConfigRecord r;
        r.Pad0 = "p0";
        r.Pad1 = "p1";
        r.PadX = "px";
        return r;
    }();
    for (const Case& c : cases) {
        ConfigRecord config = before;
        StoreKeyAssignText(config, c.joysticks, "NEW");
        EXPECT_EQ(config.Pad0, c.pad0) << c.joysticks;
        EXPECT_EQ(config.Pad1, c.pad1) << c.joysticks;
        EXPECT_EQ(config.PadX, c.padX) << c.joysticks;
    }
}

// No presses ever: the dialog only opens and is closed by the shut-down.
class SilentInput final : public KeyConfigInput {
public:
    Long WaitInputCode(Long) override { return 0; }
    std::uint64_t InputStepSerial() override { return 0; }
};

framework::KeyAssignTable TableWith(Long code) {
    framework::KeyAssignTable t{};
    t[0][0] = code;
    t[1][3] = code + 1;
    return t;
}

TEST(KeyTextStore, AnOpenKeyDialogIsCancelledBeforeTheTextIsTaken) {
    struct Case {
        const char* name;
        bool open;     // the dialog was open at shut-down
        bool confirm;  // the player pressed OK before
        Long joysticks;
        std::string ConfigRecord::*slot;
    };
    const Case cases[] = {
        {"open with edits: the edits go back", true, false, 0, &ConfigRecord::Pad0},
        {"open, three pads", true, false, 3, &ConfigRecord::PadX},
        {"confirmed edits are kept", false, true, 1, &ConfigRecord::Pad1},
    };
    const framework::KeyAssignTable before = TableWith(4126);
    const framework::KeyAssignTable edited = TableWith(4200);
    for (const Case& c : cases) {
        framework::KeyAssignTable records = before;
        SilentInput input;
        frmKeyConfig dialog(records, input, [](Long) { return std::string(); });
        dialog.Init();
        dialog.Show();
        records = edited;  // what an assignment in the dialog does, in place
        if (c.confirm) dialog.CommandOK_Click();
        ASSERT_EQ(dialog.IsOpen(), c.open) << c.name;

        ConfigRecord config;
        StoreKeyAssignments(config, c.joysticks, &dialog, records);
        EXPECT_FALSE(dialog.IsOpen()) << c.name;
        const framework::KeyAssignTable& kept = c.confirm ? edited : before;
        EXPECT_EQ(records, kept) << c.name;
        EXPECT_EQ(config.*c.slot, framework::SaveKeyAssign(kept)) << c.name;
    }

    // Without a dialog the records are stored as they are.
    ConfigRecord config;
    StoreKeyAssignments(config, 0, nullptr, edited);
    EXPECT_EQ(config.Pad0, framework::SaveKeyAssign(edited));
}

}  // namespace
}  // namespace brumil::app
