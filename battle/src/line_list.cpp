#include "battle/line_list.h"

namespace brumil::battle {

LineList::LineList() {
    lines_.reserve(kInitialCapacity);
}

void LineList::LineListAdd(std::string& text, bool flush) {
    if (!flush) {
        if (lines_.size() == capacity_) {
            capacity_ *= 2;
            lines_.reserve(capacity_);
        }
        std::string line;
        line.reserve(text.size() + 2);
        line.append(text);
        line.append("\r\n");
        lines_.push_back(std::move(line));
        return;
    }
    if (!lines_.empty()) {
        std::size_t total = 0;
        for (const std::string& line : lines_) total += line.size();
        text.clear();
        text.reserve(total);
        for (const std::string& line : lines_) text.append(line);
    }
    lines_.clear();
    lines_.shrink_to_fit();
    capacity_ = kInitialCapacity;
    lines_.reserve(capacity_);
}

}  // namespace brumil::battle
