#include "core/hash_list.h"

namespace brumil::core {

std::uint32_t CHashList::HashOf(std::string_view key) {
    std::uint32_t h = 2166136261u;
    for (char c : key) {
        h ^= static_cast<std::uint8_t>(c);
        h *= 16777619u;
    }
    return h ^ (h >> 8) ^ (h >> 16) ^ (h >> 24);
}

std::size_t CHashList::BucketOf(std::string_view key) {
    return HashOf(key) & (kFirstBucketCount - 1);
}

std::size_t CHashList::BucketLength(std::size_t bucket) const {
    std::size_t length = 0;
    if (bucket >= heads_.size()) return length;
    for (Long at = heads_[bucket]; at >= 0; at = next_[static_cast<std::size_t>(at)]) ++length;
    return length;
}

Long CHashList::StringTest(std::string_view key) const {
    const std::uint32_t hash = HashOf(key);
    for (Long at = heads_[BucketAt(hash)]; at >= 0; at = next_[static_cast<std::size_t>(at)]) {
        const auto i = static_cast<std::size_t>(at);
        if (hashes_[i] == hash && keys_[i] == key) return at;
    }
    return -1;
}

Long CHashList::Add(std::string_view key, std::string_view value) {
    Long capacity = 0;
    return AddIndex(key, value, capacity);
}

Long CHashList::AddIndex(std::string_view key, std::string_view value, Long& capacity) {
    capacity = 0;
    if (key.empty() || StringTest(key) >= 0) return -1;
    if (values_.size() == values_.capacity()) {
        const std::size_t grown =
            values_.empty() ? static_cast<std::size_t>(kFirstCapacity) : 2 * values_.capacity();
        values_.reserve(grown);
        keys_.reserve(grown);
        next_.reserve(grown);
        hashes_.reserve(grown);
        capacity = static_cast<Long>(grown);
    }
    const auto index = static_cast<Long>(keys_.size());
    const std::uint32_t hash = HashOf(key);
    keys_.emplace_back(key);
    values_.emplace_back(value);
    hashes_.push_back(hash);
    next_.push_back(heads_[BucketAt(hash)]);
    heads_[BucketAt(hash)] = index;
    if (keys_.size() > heads_.size()) Rehash(2 * heads_.size());
    return index;
}

void CHashList::Rehash(std::size_t bucketCount) {
    heads_.assign(bucketCount, -1);
    for (std::size_t i = 0; i < hashes_.size(); ++i) {
        const std::size_t bucket = BucketAt(hashes_[i]);
        next_[i] = heads_[bucket];
        heads_[bucket] = static_cast<Long>(i);
    }
}

std::string CHashList::Item(std::string_view key) const {
    return ItemAt(StringTest(key));
}

std::string CHashList::ItemAt(Long index) const {
    if (index < 0 || index >= Count()) return {};
    return values_[static_cast<std::size_t>(index)];
}

void CHashList::Clear() {
    heads_ = std::vector<Long>(kFirstBucketCount, -1);
    next_ = {};
    hashes_ = {};
    keys_ = {};
    values_ = {};
}

}  // namespace brumil::core
