#include "core/hash_list.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace brumil::core {
namespace {

TEST(CHashList, IndicesFollowTheOrderOfAddition) {
    CHashList list;
    struct Step {
        const char* key;
        const char* value;
        Long expected;
    };
    const Step steps[] = {
        {"face.bmp", "10", 0},  {"Face.bmp", "11", 1},  // exact compare: a different key
        {"face.bmp", "12", -1},                         // duplicate
        {"", "13", -1},                                 // empty key
        {"日本語", "14", 2},
    };
    for (const auto& s : steps) EXPECT_EQ(list.Add(s.key, s.value), s.expected) << s.key;
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.StringTest("face.bmp"), 0);
    EXPECT_EQ(list.StringTest("Face.bmp"), 1);
    EXPECT_EQ(list.StringTest("missing"), -1);
    EXPECT_EQ(list.Item("face.bmp"), "10");  // the duplicate did not overwrite
    EXPECT_EQ(list.Item("日本語"), "14");
    EXPECT_EQ(list.Item("missing"), "");
    list.Clear();
    EXPECT_EQ(list.StringTest("face.bmp"), -1);
    EXPECT_EQ(list.Add("x"), 0);
}

TEST(CHashList, KeysSharingABucketStayApart) {
    // Gather many keys that fall into one bucket and check each resolves.
    CHashList list;
    const std::size_t target = CHashList::BucketOf("seed");
    std::vector<std::string> same;
    for (int i = 0; same.size() < 20 && i < 100000; ++i) {
        const std::string key = "k" + std::to_string(i);
        if (CHashList::BucketOf(key) == target) same.push_back(key);
    }
    ASSERT_EQ(same.size(), 20u);
    for (std::size_t i = 0; i < same.size(); ++i) {
        EXPECT_EQ(list.Add(same[i], std::to_string(i)), static_cast<Long>(i));
    }
    EXPECT_EQ(list.BucketLength(target), 20u);
    for (std::size_t i = 0; i < same.size(); ++i) {
        EXPECT_EQ(list.StringTest(same[i]), static_cast<Long>(i));
        EXPECT_EQ(list.Item(same[i]), std::to_string(i));
    }
}

TEST(CHashList, BucketsSpreadKeys) {
    std::map<std::size_t, int> used;
    for (int i = 0; i < 4096; ++i) ++used[CHashList::BucketOf("name" + std::to_string(i))];
    EXPECT_EQ(used.size(), CHashList::kFirstBucketCount);
    for (const auto& [bucket, n] : used) EXPECT_LT(n, 40) << bucket;
}

TEST(CHashList, AddIndexReportsGrowth) {
    CHashList list;
    std::vector<Long> grewAt;
    for (int i = 0; i < 70; ++i) {
        Long capacity = -1;
        EXPECT_EQ(list.AddIndex("k" + std::to_string(i), "", capacity), i);
        if (capacity != 0) grewAt.push_back(capacity);
        EXPECT_GE(list.Capacity(), list.Count());
    }
    EXPECT_EQ(grewAt, (std::vector<Long>{16, 32, 64, 128}));
    Long capacity = -1;
    EXPECT_EQ(list.AddIndex("k3", "", capacity), -1);
    EXPECT_EQ(capacity, 0);
}

}  // namespace
}  // namespace brumil::core
