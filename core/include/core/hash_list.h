#pragma once
// A string-keyed list: keys map to the index of their value in a value store.
//
// Keys are compared exactly (byte for byte); callers that want case-blind
// lookups lower-case their keys. The keys are spread over buckets by a hash
// of their bytes, and the bucket table doubles whenever the keys outnumber its
// buckets, so a lookup or an add reads one short chain however many keys the
// list holds. Indices are 0, 1, 2, ... in the order of addition and stay valid
// until the list is cleared.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/vb_types.h"

namespace brumil::core {

class CHashList {
public:
    // The bucket table starts with this many buckets (a power of two).
    static constexpr std::size_t kFirstBucketCount = 256;
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

    // The bucket a key falls into while the table has its first size.
    static std::size_t BucketOf(std::string_view key);
    std::size_t BucketCount() const { return heads_.size(); }
    // Keys in a bucket of the present table.
    std::size_t BucketLength(std::size_t bucket) const;

private:
    // FNV-1a with its upper bytes folded into the lower ones, so that the low
    // bits that pick a bucket depend on every byte of the key.
    static std::uint32_t HashOf(std::string_view key);
    std::size_t BucketAt(std::uint32_t hash) const { return hash & (heads_.size() - 1); }
    void Rehash(std::size_t bucketCount);

    std::vector<Long> heads_ = std::vector<Long>(kFirstBucketCount, -1);  // first key, or -1
    std::vector<Long> next_;             // per key: the next key of its bucket, or -1
    std::vector<std::uint32_t> hashes_;  // per key, so that growing rehashes no text
    std::vector<std::string> keys_;
    std::vector<std::string> values_;
};

}  // namespace brumil::core
