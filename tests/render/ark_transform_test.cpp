// The matrix stack and the depth-sorted render lists, over a recording device.
#include "render/ark_transform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "ark_test_host.h"
#include "platform/gfx/dx7_math.h"
#include "render/ark.h"

namespace brumil::render {
namespace {

using testing::FakeArkHost;

D3DMATRIX Translation(Single x, Single y, Single z) {
    return CIMArk::Get_Transform(x, y, z, 0, 0, 0, 1, 1, 1);
}

bool SameMatrix(const D3DMATRIX& a, const D3DMATRIX& b) {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            if (a.At(r, c) != b.At(r, c)) return false;
        }
    }
    return true;
}

D3DVECTOR Carry(const D3DMATRIX& m, Single x, Single y, Single z) {
    return CIMArk::VectorTransform(m, x, y, z);
}

class TransformTest : public ::testing::Test {
protected:
    FakeArkHost host;
    CIMArkTransform tf{host};
    std::vector<Long> raised;
    std::vector<D3DMATRIX> worldAtRaise;

    void Listen() {
        tf.Rendering = [this](Long& n) {
            raised.push_back(n);
            D3DMATRIX w;
            host.Recorder().GetTransform(platform::D3DTRANSFORMSTATE_WORLD, w);
            worldAtRaise.push_back(w);
        };
    }
    void SetView(const D3DMATRIX& v) {
        host.Recorder().SetTransform(platform::D3DTRANSFORMSTATE_VIEW, v);
    }
};

TEST_F(TransformTest, PushesStopAtTheTopLevelAndKeepTheRecords) {
    tf.Add(7, false);
    tf.TransformPos(9, 9, 9);
    const D3DMATRIX record = tf.Entry(CIMArkTransform::kFirstRecord);
    for (int i = 0; i < 18; ++i) tf.Push();
    tf.TransformPos(1, 2, 3);  // level 18 only
    for (int i = 0; i < 7; ++i) tf.Push();
    EXPECT_EQ(tf.StackLevel(), 19);
    EXPECT_EQ(tf.CurrentPosition(), 19);
    EXPECT_TRUE(SameMatrix(tf.Entry(19), tf.Entry(18)));
    EXPECT_EQ(tf.Entry(19).rc41, 1);
    EXPECT_TRUE(SameMatrix(tf.Entry(CIMArkTransform::kFirstRecord), record));
}

TEST_F(TransformTest, PopStopsAtTheBottom) {
    tf.Push();
    tf.Pop();
    tf.Pop();
    EXPECT_EQ(tf.StackLevel(), 0);
    EXPECT_EQ(tf.CurrentPosition(), 0);
}

TEST_F(TransformTest, TransformAppliesPositionThenRotationThenScale) {
    const D3DMATRIX before = tf.Current();
    tf.Transform(0, 0, 0, 0, 0, 0, 1, 1, 1);
    EXPECT_TRUE(SameMatrix(tf.Current(), before));

    // The point is moved first, then turned a quarter about Y, then doubled.
    tf.Transform(1, 0, 0, 0, 1.5707964f, 0, 2, 2, 2);
    const D3DVECTOR p = Carry(tf.Current(), 0, 0, 0);
    EXPECT_NEAR(p.x, 0, 1e-5);
    EXPECT_NEAR(p.z, -2, 1e-5);
}

TEST_F(TransformTest, RotationsApplyAboutXThenYThenZ) {
    const Single rx = 0.3f, ry = -0.7f, rz = 1.1f;
    tf.TransformRotate(rx, ry, rz);
    const D3DMATRIX expected = CIMArk::Get_Transform(0, 0, 0, rx, ry, rz, 1, 1, 1);
    EXPECT_TRUE(SameMatrix(tf.Current(), expected));
}

TEST_F(TransformTest, AddCopiesTheStackLevelAndLaterChangesStayInTheRecord) {
    tf.TransformPos(5, 0, 0);  // level 0
    tf.Add(1, false);
    tf.TransformMultiply(Translation(0, 3, 0));
    tf.Add(2, true);  // a copy of level 0 again, not of record 1
    EXPECT_EQ(tf.CurrentPosition(), CIMArkTransform::kFirstRecord + 1);
    EXPECT_EQ(tf.NextFree(), CIMArkTransform::kFirstRecord + 2);
    EXPECT_EQ(tf.Entry(CIMArkTransform::kFirstRecord).rc42, 3);
    EXPECT_EQ(tf.Entry(CIMArkTransform::kFirstRecord + 1).rc42, 0);
    EXPECT_EQ(tf.Entry(CIMArkTransform::kFirstRecord + 1).rc41, 5);
    EXPECT_EQ(tf.Entry(0).rc42, 0);
    EXPECT_EQ(tf.OpaqueCount(), 1);
    EXPECT_EQ(tf.BlendedCount(), 1);
}

TEST_F(TransformTest, CapacityGrowsAtTheEightySecondRecord) {
    EXPECT_EQ(tf.Capacity(), 101);
    for (Long i = 0; i < 81; ++i) tf.Add(i, false);
    EXPECT_EQ(tf.Capacity(), 101);
    tf.Add(81, false);
    EXPECT_EQ(tf.Capacity(), 203);
    // The records made before the growth are still there.
    Listen();
    tf.DoRender();
    ASSERT_EQ(raised.size(), 82u);
    EXPECT_EQ(raised.front(), 81);
    EXPECT_EQ(raised.back(), 0);
}

TEST_F(TransformTest, WithZeroKeysOpaqueRunsBackwardsAndBlendedForwards) {
    Listen();
    for (Long n : {1, 2, 3}) {
        tf.Add(n, false);
        tf.TransformMultiply(Translation(static_cast<Single>(n), 0, 0));
    }
    for (Long n : {11, 12, 13}) tf.Add(n, true);
    tf.DoRender();
    EXPECT_EQ(raised, (std::vector<Long>{3, 2, 1, 11, 12, 13}));
    // Each object is raised with its own recorded matrix on the device.
    ASSERT_EQ(worldAtRaise.size(), 6u);
    EXPECT_EQ(worldAtRaise[0].rc41, 3);
    EXPECT_EQ(worldAtRaise[2].rc41, 1);
    // DoRender keeps the lists; Clear empties them.
    raised.clear();
    tf.DoRender();
    EXPECT_EQ(raised.size(), 6u);
    tf.Clear();
    raised.clear();
    tf.DoRender();
    EXPECT_TRUE(raised.empty());
}

// A view whose fourth column picks the recorded matrix's _33 as the key.
D3DMATRIX KeyOn33() {
    D3DMATRIX v;
    platform::DirectX7::IdentityMatrix(v);
    v.rc34 = 1;
    v.rc44 = 0;
    return v;
}

struct SortCase {
    const char* name;
    std::vector<Single> keys;      // key of object i, recorded in order
    std::vector<Long> descending;  // blended order; opaque is its reverse
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const SortCase& c, std::ostream* os) {
    *os << c.name;
}

class TransformSortTest : public TransformTest, public ::testing::WithParamInterface<SortCase> {
protected:
    std::vector<Long> Pass(bool blended) {
        tf.Clear();
        raised.clear();
        const auto& keys = GetParam().keys;
        for (std::size_t i = 0; i < keys.size(); ++i) {
            tf.Add(static_cast<Long>(i), blended);
            tf.TransformScale(1, 1, keys[i]);
        }
        tf.DoRender();
        return raised;
    }
};

TEST_P(TransformSortTest, CraftedKeysSortDescending) {
    Listen();
    SetView(KeyOn33());
    auto expected = GetParam().descending;
    EXPECT_EQ(Pass(true), expected);
    std::reverse(expected.begin(), expected.end());
    EXPECT_EQ(Pass(false), expected);
}

// Up to four records take one insertion pass, which never moves an entry past
// an equal one. From five on a wider pass runs first: in "five" it carries
// object 4 over object 1 (both key 5) before the last pass.
INSTANTIATE_TEST_SUITE_P(Keys, TransformSortTest,
                         ::testing::Values(SortCase{"two", {1, 2}, {1, 0}},
                                           SortCase{"fourEqualPairs", {1, 3, 1, 3}, {1, 3, 0, 2}},
                                           SortCase{
                                               "fourWithNegative", {-2, 0, 7, 0}, {2, 1, 3, 0}},
                                           SortCase{"five", {2, 5, 2, 9, 5}, {3, 4, 1, 2, 0}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TransformTest, ManyRecordsComeOutInDescendingKeyOrder) {
    Listen();
    SetView(KeyOn33());
    std::vector<Single> keys;
    for (int i = 0; i < 130; ++i) keys.push_back(static_cast<Single>((i * 37) % 23) - 11);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        tf.Add(static_cast<Long>(i), true);
        tf.TransformScale(1, 1, keys[i]);
    }
    tf.DoRender();
    ASSERT_EQ(raised.size(), keys.size());
    std::vector<Long> sorted = raised;
    std::sort(sorted.begin(), sorted.end());
    for (std::size_t i = 0; i < sorted.size(); ++i) EXPECT_EQ(sorted[i], static_cast<Long>(i));
    for (std::size_t k = 1; k < raised.size(); ++k) {
        EXPECT_GE(keys[static_cast<std::size_t>(raised[k - 1])],
                  keys[static_cast<std::size_t>(raised[k])])
            << k;
    }
}

TEST_F(TransformTest, WithoutADeviceTheObjectsAreStillRaised) {
    host.hasDevice = false;
    Listen();
    tf.Add(4, false);
    tf.Add(5, true);
    tf.Setting();
    tf.DoRender();
    EXPECT_EQ(raised, (std::vector<Long>{4, 5}));
}

TEST_F(TransformTest, SettingPutsTheCurrentEntryOnTheDevice) {
    tf.TransformPos(0, 0, 4);
    tf.Setting();
    D3DMATRIX w;
    host.Recorder().GetTransform(platform::D3DTRANSFORMSTATE_WORLD, w);
    EXPECT_EQ(w.rc43, 4);
}

}  // namespace
}  // namespace brumil::render
