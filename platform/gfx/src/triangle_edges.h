#pragma once
// The two edges that bound a set-up triangle's spans, walked down its rows:
// the long edge throughout, the short edges one after the other.

#include <algorithm>
#include <cstdint>

#include "edge_walk.h"
#include "triangle_setup.h"

namespace brumil::platform::raster {

// A set-up triangle's left and right edges over its rows in [y1, y2), as
// WalkTriangle walks them: the short edge changes at the middle corner.
class TriangleEdges {
public:
    TriangleEdges(const TriangleSetup& t, int y1, int y2)
        : f_(t.f),
          shortSide_(t.longOnLeft ? 1 : 0),
          top_(std::max(t.yFirst, y1)),
          end_(std::max(top_, std::min(t.yEnd, y2))) {
        mid_ = int(std::clamp<std::int64_t>(CeilDiv(f_[1].y, kSub), top_, end_));
    }
    int Top() const { return top_; }
    int End() const { return end_; }
    int Mid() const { return mid_; }
    // Starts the edges that begin at row y: the top row or the middle one.
    void StartAt(int y) {
        const std::int64_t yc = std::int64_t(y) * kSub;
        if (y == top_) {
            side_[1 - shortSide_].Start(f_[0], f_[2], yc, kSub);
            if (y < mid_) side_[shortSide_].Start(f_[0], f_[1], yc, kSub);
        }
        if (y == mid_) side_[shortSide_].Start(f_[1], f_[2], yc, kSub);
    }
    EdgeWalker& Left() { return side_[0]; }
    EdgeWalker& Right() { return side_[1]; }

private:
    const Fixed* f_;
    int shortSide_;  // which of side_ the short edges take
    int top_, end_, mid_;
    EdgeWalker side_[2];
};

}  // namespace brumil::platform::raster
