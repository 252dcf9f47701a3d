#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "net/net_input.h"
#include "net/net_player_record.h"

namespace brumil::net {
namespace {

using framework::VKeyRecord;

TEST(NetInput, BitsFromVirtualKeys) {
    const auto rec = [](Long x, Long y, std::initializer_list<int> held) {
        VKeyRecord r;
        r[framework::kVKeyX] = x;
        r[framework::kVKeyY] = y;
        for (const int b : held) r[framework::kVKeyButton1 + b - 1] = 3;
        return r;
    };
    const struct {
        const char* name;
        VKeyRecord record;
        bool flag;
        Long bits;
    } cases[] = {
        {"neutral", rec(0, 0, {}), false, 0},
        {"up left", rec(-1, -1, {}), false, kKeyUp | kKeyLeft},
        {"down right", rec(1, 1, {}), false, kKeyDown | kKeyRight},
        {"buttons 1 and 6", rec(0, 0, {1, 6}), false, 0x10 | 0x200},
        {"buttons 7 to 10 not sent", rec(0, 0, {7, 8, 9, 10}), false, 0},
        {"flag", rec(0, 0, {}), true, kKeyFlag},
        {"everything", rec(1, -1, {1, 2, 3, 4, 5, 6}), true, 0x7F9},
    };
    for (const auto& c : cases) EXPECT_EQ(NetKeyBitsFromVKey(c.record, c.flag), c.bits) << c.name;
}

TEST(NetInput, ReceivedBitsTurnHalfATurn) {
    using framework::kFlagDown;
    using framework::kFlagLeft;
    using framework::kFlagRight;
    using framework::kFlagUp;
    const struct {
        Long bits;
        std::vector<int> on;  // flags set
    } cases[] = {
        {0x12, {kFlagUp, 0}},  // the peer's down and button 1: up and button 1 here
        {0x1, {kFlagDown}},
        {0x4, {kFlagRight}},
        {0x8, {kFlagLeft}},
        {0x200, {5}},
        {0x400, {}},  // the flag bit is no key
        {0, {}},
    };
    for (const auto& c : cases) {
        framework::VKeyFlags want{};
        for (const int f : c.on) want[static_cast<std::size_t>(f)] = true;
        EXPECT_EQ(VKeyFlagsFromNetBits(c.bits), want) << c.bits;
    }
}

TEST(NetInput, PeerPositionMirroredAndClamped) {
    const FieldBounds b{0x1000, 0x27000, 0xF000, 0x1D000};
    const struct {
        Long rx, ry, x, y;
    } cases[] = {
        {0x8000, 0x4000, 0x20000, 0x1A000},
        {0, 0, 0x27000, 0x1D000},
        {0x28000, 0x1E000, 0x1000, 0xF000},
        {INT_MIN, INT_MIN, 0x27000, 0x1D000},  // would overflow in 32 bits
        {INT_MAX, INT_MAX, 0x1000, 0xF000},
        {-5, 0x1E000 + 7, 0x27000, 0xF000},
    };
    for (const auto& c : cases) {
        Long x = 0;
        Long y = 0;
        MirroredPeerPosition(c.rx, c.ry, b, x, y);
        EXPECT_EQ(x, c.x) << c.rx;
        EXPECT_EQ(y, c.y) << c.ry;
    }
}

TEST(NetInput, LifeAndSetupRanges) {
    const struct {
        Long received, current;
        std::optional<Long> accepted;
    } lives[] = {{3, 3, 3},
                 {2, 3, 2},
                 {0, 3, 0},
                 {4, 3, std::nullopt},
                 {-1, 3, std::nullopt},
                 {INT_MAX, 3, std::nullopt}};
    for (const auto& l : lives)
        EXPECT_EQ(AcceptedPeerLife(l.received, l.current), l.accepted) << l.received;

    const struct {
        Long received, lo, hi, own, want;
    } setups[] = {
        {1, kSetupCharacterMin, kSetupCharacterMax, 4, 1},
        {8, kSetupCharacterMin, kSetupCharacterMax, 4, 8},
        {0, kSetupCharacterMin, kSetupCharacterMax, 4, 4},
        {9, kSetupCharacterMin, kSetupCharacterMax, 4, 4},
        {0, kSetupStageMin, kSetupStageMax, 2, 0},
        {7, kSetupStageMin, kSetupStageMax, 2, 2},
        {6, kSetupLevelMin, kSetupLevelMax, 1, 6},
        {-6, kSetupLevelMin, kSetupLevelMax, 1, 1},
    };
    for (const auto& s : setups) {
        EXPECT_EQ(CheckedSetupValue(s.received, s.lo, s.hi, s.own), s.want) << s.received;
    }
}

}  // namespace
}  // namespace brumil::net
