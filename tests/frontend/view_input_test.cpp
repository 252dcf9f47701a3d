#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/input_state.h"
#include "framework/maxwell.h"
#include "framework/vkey.h"
#include "frontend/view.h"
#include "platform/base/clock.h"

namespace brumil::frontend {
namespace {

using framework::gInputState;
using framework::InputStateBlock;
using framework::VKey;
using framework::VKeyRecord;

class ViewInput : public ::testing::Test {
protected:
    void SetUp() override {
        Reset();
        // Five items in a row (item 1 disabled), and one below item 0.
        for (int i = 0; i < 5; ++i) {
            view.Setting(std::to_string(i) + "," + std::to_string(100 * i) + ",100,80,40," +
                         (i == 1 ? "0" : "1") + ",Item");
        }
        view.Setting("5,0,300,80,40,1,Below");
    }
    void TearDown() override { Reset(); }
    static void Reset() {
        gInputState() = InputStateBlock{};
        for (VKeyRecord& r : VKey()) r = VKeyRecord{};
    }
    // Holds the keys for n steps; answers the steps (1-based) that moved.
    template <typename Set, typename Call>
    std::vector<int> Hold(int n, Set set, Call call) {
        std::vector<int> moved;
        for (int s = 1; s <= n; ++s) {
            set(s);
            Long result = 0;
            call(result);
            if (result & kViewItemChanged) moved.push_back(s);
        }
        return moved;
    }
    // Room for four moves right from item 0 without wrapping.
    void MoreItemsToTheRight() {
        view.Setting("6,500,100,60,40,1,Item");
        view.Setting("7,580,100,60,40,1,Item");
    }
    void PointAt(int x, int y) {
        gInputState().MouseX = static_cast<Single>(x) / 640.0f;
        gInputState().MouseY = static_cast<Single>(y) / 480.0f;
    }

    platform::ManualClock clock;
    framework::CMaxwell host{clock};
    CView view{&host};
};

TEST_F(ViewInput, HeldRightRepeatsAfterTheDelayThenEveryInterval) {
    struct Case {
        bool horizontal, vertical, doubled;
        int steps;
        std::vector<int> moved;
    };
    MoreItemsToTheRight();
    const Case cases[] = {
        {true, false, false, 40, {1, 24, 30, 36}},
        {true, true, false, 40, {1, 24, 30, 36}},
        {true, false, true, 80, {1, 48, 60, 72}},
        {true, true, true, 80, {1, 48, 60, 72}},
        {false, true, false, 40, {}},
        {false, false, false, 40, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.horizontal << c.vertical << c.doubled);
        host.Config().Frame60To120 = c.doubled;
        view.InterfaceReset(0);
        const auto moved = Hold(
            c.steps,
            [](int s) {
                gInputState().Right = s;
                gInputState().Arrows = s;
            },
            [&](Long& r) { view.InterfaceKeyboard(r, c.horizontal, c.vertical); });
        EXPECT_EQ(moved, c.moved);
    }
    host.Config().Frame60To120 = false;
}

TEST_F(ViewInput, WithoutAFrameHostRepeatsAtTheSixtyStepTiming) {
    ASSERT_EQ(framework::gMaxwell(), nullptr);
    CView lone;
    for (int i = 0; i < 8; ++i) {
        lone.Setting(std::to_string(i) + "," + std::to_string(80 * i) + ",100,60,40,1,Item");
    }
    const auto moved = Hold(
        40, [](int s) { gInputState().Right = s; },
        [&](Long& r) { lone.InterfaceKeyboard(r, true, false); });
    EXPECT_EQ(moved, (std::vector<int>{1, 24, 30, 36}));
}

TEST_F(ViewInput, KeyboardStepsSkipDisabledItemsAndWrap) {
    struct Case {
        Long from;
        bool right;
        Long want;
    };
    const Case cases[] = {{0, true, 2}, {2, false, 0}, {4, true, 5}, {5, true, 0}, {0, false, 5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.from);
        Reset();
        view.InterfaceReset(c.from);
        (c.right ? gInputState().Right : gInputState().Left) = 1;
        gInputState().Arrows = 1;
        Long result = 0;
        view.InterfaceKeyboard(result, true, false);
        EXPECT_EQ(view.InterfaceCursor(), c.want);
        EXPECT_EQ(result, kViewItemChanged | (c.right ? kViewRight : kViewLeft));
    }
}

TEST_F(ViewInput, OppositeKeysTogetherDoNotMove) {
    for (bool both : {false, true}) {
        Reset();
        view.InterfaceReset(2);
        gInputState().Right = 1;
        gInputState().Left = 1;
        gInputState().Arrows = 1;
        Long result = 0;
        view.InterfaceKeyboard(result, true, both);
        EXPECT_EQ(view.InterfaceCursor(), 2);
        EXPECT_EQ(result, kViewLeft | kViewRight);
    }
}

TEST_F(ViewInput, MovingFromNoItemGoesToTheFirstEnabledOne) {
    view.GetRects().SetEnabled(0, false);
    for (bool right : {true, false}) {
        Reset();
        view.InterfaceReset(-1);
        (right ? gInputState().Right : gInputState().Left) = 1;
        gInputState().Arrows = 1;
        Long result = 0;
        view.InterfaceKeyboard(result, true, false);
        EXPECT_EQ(view.InterfaceCursor(), 2) << right;
    }
    view.InterfaceReset(-1);
    view.InterfaceCursorLinear(-1);
    EXPECT_EQ(view.InterfaceCursor(), 2);
    view.InterfaceCursorLinear(0);
    EXPECT_EQ(view.InterfaceCursor(), 2) << "step 0 stays";
    view.InterfaceCursorLinear(1);
    EXPECT_EQ(view.InterfaceCursor(), 3);
}

TEST_F(ViewInput, VerticalKeysAndPressBits) {
    view.InterfaceReset(0);
    gInputState().Down = 1;
    gInputState().Arrows = 1;
    gInputState().Enter = 1;
    gInputState().Backspace = 5;  // held, not pressed this step
    Long result = 0;
    view.InterfaceKeyboard(result, true, true);
    EXPECT_EQ(view.InterfaceCursor(), 5) << "the item below";
    EXPECT_EQ(result, kViewItemChanged | kViewAccept | kViewDown);

    Reset();
    gInputState().Up = 1;
    gInputState().Arrows = 1;
    gInputState().Backspace = 1;
    result = 0;
    view.InterfaceKeyboard(result, false, true);
    EXPECT_EQ(view.InterfaceCursor(), 4) << "linear step backwards";
    EXPECT_EQ(result, kViewItemChanged | kViewCancel | kViewUp);
}

TEST_F(ViewInput, TheFirstSourceThatReportsWins) {
    view.InterfaceReset(0);
    PointAt(210, 110);  // item 2
    gInputState().MouseLeft = 1;
    gInputState().Right = 1;
    gInputState().Arrows = 1;
    gInputState().Enter = 1;
    VKey()[0][framework::kVKeyDirectionHold] = 1;
    VKey()[0][framework::kVKeyX] = 1;
    VKey()[0][framework::kVKeyDirection] = 1;
    Long result = 0;
    view.InterfaceMouse(result, false);
    ASSERT_EQ(result, kViewItemChanged | kViewAccept);
    view.InterfaceKeyboard(result, true, false);
    view.InterfaceVKey(result, 0, true, false);
    view.InterfaceVKeyLinear(result, 0);
    view.InterfaceMouseClick(result, true);
    EXPECT_EQ(result, kViewItemChanged | kViewAccept) << "no bits added";
    EXPECT_EQ(view.InterfaceCursor(), 2) << "no further movement";
}

TEST_F(ViewInput, MousePicksTheEnabledItemUnderThePointer) {
    struct Case {
        int x, y;
        bool allowNone;
        Long want;
        Long result;
    };
    const Case cases[] = {
        {330, 120, false, 3, kViewItemChanged}, {130, 120, false, 0, 0},  // item 1 is disabled
        {130, 120, true, -1, kViewItemChanged}, {5, 5, false, 0, 0},
        {5, 5, true, -1, kViewItemChanged},     {20, 110, true, 0, 0},  // already the current item
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y << "," << c.allowNone);
        view.InterfaceReset(0);
        Reset();
        PointAt(c.x, c.y);
        gInputState().MouseMoved = true;
        Long result = 0;
        view.InterfaceMouse(result, c.allowNone);
        EXPECT_EQ(view.InterfaceCursor(), c.want);
        EXPECT_EQ(result, c.result);
    }
}

TEST_F(ViewInput, AllowNoneGivesNoItemOnce) {
    view.InterfaceReset(2);
    PointAt(5, 5);
    gInputState().MouseMoved = true;
    Long first = 0, second = 0;
    view.InterfaceMouse(first, true);
    view.InterfaceMouse(second, true);
    EXPECT_EQ(first, kViewItemChanged);
    EXPECT_EQ(second, 0);
    EXPECT_EQ(view.InterfaceCursor(), -1);
}

TEST_F(ViewInput, ClickOnlyMemberIgnoresPureMovement) {
    view.InterfaceReset(0);
    PointAt(430, 120);  // item 4
    gInputState().MouseMoved = true;
    gInputState().Wheel = -1;
    Long result = 0;
    view.InterfaceMouseClick(result, false);
    EXPECT_EQ(view.InterfaceCursor(), 0);
    EXPECT_EQ(result, kViewWheel);

    gInputState().MouseRight = 1;
    gInputState().Wheel = 0;
    result = 0;
    view.InterfaceMouseClick(result, false);
    EXPECT_EQ(view.InterfaceCursor(), 4);
    EXPECT_EQ(result, kViewItemChanged | kViewCancel);
}

TEST_F(ViewInput, VirtualKeysRepeatLikeTheKeyboard) {
    MoreItemsToTheRight();
    for (bool linear : {false, true}) {
        SCOPED_TRACE(linear);
        view.InterfaceReset(0);
        const auto moved = Hold(
            40,
            [](int s) {
                VKeyRecord& k = VKey()[1];
                k[framework::kVKeyDirectionHold] = s;
                k[framework::kVKeyX] = 1;
                k[framework::kVKeyDirection] = 1;
            },
            [&](Long& r) {
                if (linear) {
                    view.InterfaceVKeyLinear(r, 1);
                } else {
                    view.InterfaceVKey(r, 1, true, true);
                }
            });
        EXPECT_EQ(moved, (std::vector<int>{1, 24, 30, 36}));
    }
}

TEST_F(ViewInput, VirtualKeyBitsAndPlayers) {
    struct Case {
        Long x, y, hold, b1, b2;
        Long bits;
    };
    const Case cases[] = {
        {-1, 0, 1, 0, 0, kViewLeft},
        {1, 0, 1, 0, 0, kViewRight},
        {0, -1, 1, 0, 0, kViewUp},
        {0, 1, 1, 0, 0, kViewDown},
        {-1, 1, 1, 0, 0, kViewLeft | kViewDown},
        {1, 0, 2, 1, 0, kViewAccept},
        {0, 0, 0, 3, 1, kViewCancel},
    };
    for (const Case& c : cases) {
        VKeyRecord& k = VKey()[2];
        k = VKeyRecord{};
        k[framework::kVKeyX] = c.x;
        k[framework::kVKeyY] = c.y;
        k[framework::kVKeyDirection] = c.x - 3 * c.y;
        k[framework::kVKeyDirectionHold] = c.hold;
        k[framework::kVKeyButton1] = c.b1;
        k[framework::kVKeyButton1 + 1] = c.b2;
        Long result = 0;
        view.InterfaceVKey(result, 2, false, false);  // no movement: bits only
        EXPECT_EQ(result, c.bits) << c.x << "," << c.y << "," << c.hold;
    }
    for (Long player : {-1, 4}) {
        Long result = 0;
        view.InterfaceVKey(result, player, true, true);
        view.InterfaceVKeyLinear(result, player);
        EXPECT_EQ(result, 0);
    }
}

TEST_F(ViewInput, LinearVirtualKeysStepXThenY) {
    view.InterfaceReset(0);
    VKeyRecord& k = VKey()[0];
    k[framework::kVKeyDirectionHold] = 1;
    k[framework::kVKeyX] = 1;
    k[framework::kVKeyY] = 1;
    k[framework::kVKeyDirection] = -2;
    Long result = 0;
    view.InterfaceVKeyLinear(result, 0);
    EXPECT_EQ(view.InterfaceCursor(), 3) << "two forward steps past the disabled item";
    EXPECT_EQ(result, kViewItemChanged | kViewRight | kViewDown);
}

}  // namespace
}  // namespace brumil::frontend
