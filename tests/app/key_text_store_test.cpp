#include "app/key_text_store.h"

#include <gtest/gtest.h>

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
    for (const Case& c : cases) {
        ConfigRecord config;
        config.Pad0 = "p0";
        config.Pad1 = "p1";
        config.PadX = "px";
        StoreKeyAssignText(config, c.joysticks, "NEW");
        EXPECT_EQ(config.Pad0, c.pad0) << c.joysticks;
        EXPECT_EQ(config.Pad1, c.pad1) << c.joysticks;
        EXPECT_EQ(config.PadX, c.padX) << c.joysticks;
    }
}

}  // namespace
}  // namespace brumil::app
