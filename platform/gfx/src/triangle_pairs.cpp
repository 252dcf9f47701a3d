// Two triangles on either side of a shared edge, walked row by row together,
// so that where their spans meet the loop draws the row as one run.
#include <algorithm>
#include <cstdint>

#include "triangle_edges.h"
#include "triangle_setup.h"

namespace brumil::platform::raster {

namespace {

// Rows queued for one call of a pair loop.
constexpr int kPairRun = 64;

// Rows of a pair waiting for their loops: those where the two triangles'
// spans meet, and each triangle's other spans. The triangles' pixels are
// apart, so the three loops may draw in any order.
class PairQueues {
public:
    PairQueues(const PixelState& ps, const TriangleSetup& left, const TriangleSetup& right)
        : ps_(ps), left_(left), right_(right) {}
    void Meet(int y, int x1, int xs, int x2) {
        pairs_[pairCount_++] = {y, x1, xs, x2};
        if (pairCount_ == kPairRun) FlushPairs();
    }
    void Left(int y, int x1, int x2) {
        leftRows_[leftCount_++] = {y, x1, x2};
        if (leftCount_ == kPairRun) FlushLeft();
    }
    void Right(int y, int x1, int x2) {
        rightRows_[rightCount_++] = {y, x1, x2};
        if (rightCount_ == kPairRun) FlushRight();
    }
    void Flush() {
        if (pairCount_ > 0) FlushPairs();
        if (leftCount_ > 0) FlushLeft();
        if (rightCount_ > 0) FlushRight();
    }

private:
    void FlushPairs() {
        left_.pairs(ps_, left_.p, right_.p, pairs_, pairCount_);
        pairCount_ = 0;
    }
    void FlushLeft() {
        left_.rows(ps_, left_.p, leftRows_, leftCount_);
        leftCount_ = 0;
    }
    void FlushRight() {
        right_.rows(ps_, right_.p, rightRows_, rightCount_);
        rightCount_ = 0;
    }

    const PixelState& ps_;
    const TriangleSetup& left_;
    const TriangleSetup& right_;
    PairRow pairs_[kPairRun];
    Row leftRows_[kPairRun], rightRows_[kPairRun];
    int pairCount_ = 0, leftCount_ = 0, rightCount_ = 0;
};

// Queues the rows [y, yEnd) of the pair, those triangles taking part that
// Left and Right say; with Shared, the left one's right edge is the right
// one's left edge, walked once. The walkers are copied in and out so that
// they stay in registers, out of reach of the stores to the queues.
template <bool Left, bool Right, bool Shared = false>
void QueuePairRows(TriangleEdges& l, TriangleEdges& r, int y, int yEnd, std::int64_t clipX1,
                   std::int64_t clipX2, PairQueues& queues) {
    EdgeWalker ll = l.Left(), lr = l.Right(), rl = r.Left(), rr = r.Right();
    for (; y < yEnd; ++y) {
        int x1 = 0, xs = 0, xr = 0, x2 = 0;
        if constexpr (Left) {
            x1 = int(std::max(ll.X(), clipX1));
            xs = int(std::min(lr.X(), clipX2));
        }
        if constexpr (Right) {
            xr = int(std::max((Shared ? lr : rl).X(), clipX1));
            x2 = int(std::min(rr.X(), clipX2));
        }
        if constexpr (Left) {
            ll.Next();
            lr.Next();
        }
        if constexpr (Right) {
            if constexpr (!Shared) rl.Next();
            rr.Next();
        }
        const bool hasLeft = x1 < xs, hasRight = xr < x2;
        if (hasLeft && hasRight && xs == xr) {
            queues.Meet(y, x1, xs, x2);
            continue;
        }
        if (hasLeft) queues.Left(y, x1, xs);
        if (hasRight) queues.Right(y, xr, x2);
    }
    l.Left() = ll;
    l.Right() = lr;
    r.Left() = Shared ? lr : rl;
    r.Right() = rr;
}

bool Same(const Fixed& a, const Fixed& b) {
    return a.x == b.x && a.y == b.y;
}

}  // namespace

bool Pairable(const TriangleSetup& first, const TriangleSetup& second, bool& firstLeft) {
    if (first.pairs == nullptr || first.pairs != second.pairs) return false;
    // One constant diffuse colour makes the same per-triangle constants.
    if (!first.p.constColor || !second.p.constColor ||
        first.p.vec.diffuse != second.p.vec.diffuse) {
        return false;
    }
    int shared = 0, firstOwn = 3, secondOwn = 3;  // corner numbers summed, then the third one
    Fixed ends[2];
    for (int i = 0; i < 3; ++i) {
        for (int k = 0; k < 3; ++k) {
            if (!Same(first.f[i], second.f[k])) continue;
            if (shared < 2) ends[shared] = first.f[i];
            ++shared;
            firstOwn -= i;
            secondOwn -= k;
        }
    }
    if (shared != 2) return false;
    // The corners are sorted from top to bottom: ends[0] is the upper end.
    const Fixed& p = ends[0];
    const Fixed& q = ends[1];
    if (p.y == q.y) return false;  // a level edge: the two share no row
    // Positive where a point lies left of the edge from p down to q.
    const auto side = [&](const Fixed& c) {
        return (q.x - p.x) * (c.y - p.y) - (q.y - p.y) * (c.x - p.x);
    };
    const std::int64_t a = side(first.f[firstOwn]), b = side(second.f[secondOwn]);
    if (a > 0 && b < 0) {
        firstLeft = true;
    } else if (a < 0 && b > 0) {
        firstLeft = false;
    } else {
        return false;
    }
    return true;
}

void WalkPair(const PixelState& ps, const TriangleSetup& left, const TriangleSetup& right, int y1,
              int y2) {
    TriangleEdges l(left, y1, y2), r(right, y1, y2);
    PairQueues queues(ps, left, right);
    // The rows fall into stretches over which each triangle takes part or
    // not and keeps its edges; they end where an edge starts or stops.
    int marks[6] = {l.Top(), l.Mid(), l.End(), r.Top(), r.Mid(), r.End()};
    std::sort(marks, marks + 6);
    const std::int64_t cx1 = ps.clipX1, cx2 = ps.clipX2;
    for (int i = 0; i + 1 < 6; ++i) {
        const int y = marks[i], yEnd = marks[i + 1];
        if (y == yEnd) continue;
        const bool inLeft = y >= l.Top() && y < l.End(), inRight = y >= r.Top() && y < r.End();
        if (inLeft) l.StartAt(y);
        if (inRight) r.StartAt(y);
        if (inLeft && inRight && l.Right() == r.Left()) {
            // Rows that cross the shared edge.
            QueuePairRows<true, true, true>(l, r, y, yEnd, cx1, cx2, queues);
        } else if (inLeft && inRight) {
            QueuePairRows<true, true>(l, r, y, yEnd, cx1, cx2, queues);
        } else if (inLeft) {
            QueuePairRows<true, false>(l, r, y, yEnd, cx1, cx2, queues);
        } else if (inRight) {
            QueuePairRows<false, true>(l, r, y, yEnd, cx1, cx2, queues);
        }
    }
    queues.Flush();
}

void PairingDrawer::Draw(const PixelState& ps, const Vertex& a, const Vertex& b, const Vertex& c,
                         const Vertex& flat, LoopCache* cache) {
    if (!InsideGuardBand(a, b, c)) {
        // Clipped (or not finite): drawn at once, after what is kept.
        Flush(ps);
        DrawTriangleRows(ps, ps.clipY1, ps.clipY2, a, b, c, flat, cache);
        return;
    }
    if (ps.clipX1 >= ps.clipX2 || ps.clipY1 >= ps.clipY2) return;
    const int slot = held_ == 0 ? 1 : 0;
    TriangleSetup& next = setups_[slot];
    // A triangle without pixels changes nothing: what is kept stays kept.
    if (!SetUpTriangle(ps, ps.clipY1, ps.clipY2, a, b, c, flat, next, cache)) return;
    if (held_ >= 0) {
        const TriangleSetup& kept = setups_[held_];
        held_ = -1;
        bool keptLeft = false;
        if (Pairable(kept, next, keptLeft)) {
            WalkPair(ps, keptLeft ? kept : next, keptLeft ? next : kept, ps.clipY1, ps.clipY2);
            return;
        }
        WalkTriangle(ps, kept, ps.clipY1, ps.clipY2);
    }
    if (next.pairs != nullptr) {
        held_ = slot;
    } else {
        WalkTriangle(ps, next, ps.clipY1, ps.clipY2);
    }
}

void PairingDrawer::Flush(const PixelState& ps) {
    if (held_ < 0) return;
    WalkTriangle(ps, setups_[held_], ps.clipY1, ps.clipY2);
    held_ = -1;
}

}  // namespace brumil::platform::raster
