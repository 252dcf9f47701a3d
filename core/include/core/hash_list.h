#pragma once
// A string-keyed list: keys map to the index of their value in a value store.
//
// Keys are compared exactly (byte for byte); callers that want case-blind
// lookups lower-case their keys. The keys are spread over 256 buckets by a
// hash of their bytes, so a lookup reads one short chain. Indices are 0, 1,
// 2, ... in the order of addition and stay valid until the list is cleared.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/vb_types.h"

namespace brumil::core {

class CHashList {
public:
    static constexpr std::size_t kBucketCount = 256;
    // The value store starts at this capacity and doubles when full.
    static constexpr Long kFirstCapacity = 16;

    // The index stored for the key, or -1 when absent.
    Long StringTest(std::string_view key) const;
    // Adds the key with its value; answers the value's index, or -1 for an
    // empty or duplicate key (the list is then unchanged).
    Long Add(std::string_view key, std::string_view value = {});
    // As Add; `capacity` receives the value store's new capacity when this add
    // grew it, else 0.
    Long AddIndex(std::string_view key, std::string_view value, Long& capacity);
    // The value stored for the key, "" when absent.
    std::string Item(std::string_view key) const;
    // The value at an index, "" outside 0..Count()-1.
    std::string ItemAt(Long index) const;

    Long Count() const { return static_cast<Long>(keys_.size()); }
    Long Capacity() const { return static_cast<Long>(values_.capacity()); }
    void Clear();

    // The bucket a key falls into (FNV-1a folded to 8 bits).
    static std::size_t BucketOf(std::string_view key);
    std::size_t BucketLength(std::size_t bucket) const { return buckets_[bucket].size(); }

private:
    std::array<std::vector<Long>, kBucketCount> buckets_;  // indexes into keys_
    std::vector<std::string> keys_;
    std::vector<std::string> values_;
};

}  // namespace brumil::core
