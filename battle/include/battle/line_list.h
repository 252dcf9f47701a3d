#pragma once
// A line builder: lines are collected in a list and joined once at the end, so
// that a text of many lines is built without copying the growing text.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace brumil::battle {

class LineList {
public:
    LineList();

    // With flush false: stores `text` followed by CR LF as the next line; the
    // capacity doubles when the list is full. With flush true: when lines are
    // stored, joins them into `text` (otherwise `text` is left as it was); then
    // the list starts anew, empty, with capacity 100.
    void LineListAdd(std::string& text, bool flush);

    std::size_t Count() const { return lines_.size(); }
    std::size_t Capacity() const { return capacity_; }

private:
    static constexpr std::size_t kInitialCapacity = 100;
    std::vector<std::string> lines_;
    std::size_t capacity_ = kInitialCapacity;
};

}  // namespace brumil::battle
