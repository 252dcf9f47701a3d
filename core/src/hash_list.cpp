#include "core/hash_list.h"

namespace brumil::core {

std::size_t CHashList::BucketOf(std::string_view key) {
    std::uint32_t h = 2166136261u;
    for (char c : key) {
        h ^= static_cast<std::uint8_t>(c);
        h *= 16777619u;
    }
    return static_cast<std::size_t>((h ^ (h >> 8) ^ (h >> 16) ^ (h >> 24)) & 0xFF);
}

Long CHashList::StringTest(std::string_view key) const {
    for (Long index : buckets_[BucketOf(key)]) {
        if (keys_[static_cast<std::size_t>(index)] == key) return index;
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
        capacity = static_cast<Long>(grown);
    }
    const auto index = static_cast<Long>(keys_.size());
    keys_.emplace_back(key);
    values_.emplace_back(value);
    buckets_[BucketOf(key)].push_back(index);
    return index;
}

std::string CHashList::Item(std::string_view key) const {
    return ItemAt(StringTest(key));
}

std::string CHashList::ItemAt(Long index) const {
    if (index < 0 || index >= Count()) return {};
    return values_[static_cast<std::size_t>(index)];
}

void CHashList::Clear() {
    for (auto& b : buckets_) b.clear();
    keys_ = {};
    values_ = {};
}

}  // namespace brumil::core
