#include "band_queue.h"

#include <algorithm>
#include <atomic>
#include <cmath>

namespace brumil::platform::raster {

namespace {

// States of a triangle's set-up in the current scene (BandQueue::Slot).
constexpr std::uint64_t kBusy = 1, kEmpty = 2, kMade = 3;

}  // namespace

BandQueue::BandQueue(int height, int bandRows)
    : height_(std::max(height, 1)), bandRows_(std::max(bandRows, 1)) {
    bins_.resize(static_cast<std::size_t>((height_ + bandRows_ - 1) / bandRows_));
}

void BandQueue::BeginDraw(const PixelState& ps) {
    states_.push_back(ps);
}

void BandQueue::AddTriangle(const Vertex& a, const Vertex& b, const Vertex& c, const Vertex& flat) {
    if (states_.empty()) return;
    // Wholly beside the scissor (with a pixel to spare for the snapping to
    // the sub-pixel grid): nothing to draw in any band.
    const PixelState& ps = states_.back();
    if (std::max({a.x, b.x, c.x}) < float(ps.clipX1 - 1) ||
        std::min({a.x, b.x, c.x}) > float(ps.clipX2 + 1)) {
        return;
    }
    if (!File(std::min({a.y, b.y, c.y}), std::max({a.y, b.y, c.y}))) return;
    Prim& p = prims_.emplace_back();
    p.state = static_cast<int>(states_.size()) - 1;
    p.kind = InsideGuardBand(a, b, c) ? Kind::Triangle : Kind::Clipped;
    p.v[0] = a;
    p.v[1] = b;
    p.v[2] = c;
    p.flat = -1;
    if (ps.flat) {
        p.flat = static_cast<int>(flats_.size());
        flats_.push_back(flat);
    }
}

void BandQueue::AddLine(const Vertex& a, const Vertex& b) {
    if (states_.empty()) return;
    if (!File(std::min(a.y, b.y), std::max(a.y, b.y))) return;
    Prim& p = prims_.emplace_back();
    p.state = static_cast<int>(states_.size()) - 1;
    p.kind = Kind::Line;
    p.v[0] = a;
    p.v[1] = b;
    p.flat = -1;  // a line takes the colours of its first end
}

bool BandQueue::File(float yMin, float yMax) {
    const PixelState& ps = states_.back();
    // The rows a primitive can touch, widened by a row each way for the
    // rounding of its edges; none when a bound is not a number (max and min
    // then answer it, and the comparison fails).
    const float lo = std::max(std::floor(yMin) - 1.0f, float(ps.clipY1));
    const float hi = std::min(std::ceil(yMax) + 1.0f, float(ps.clipY2));
    if (!(lo < hi)) return false;
    const int first = static_cast<int>(lo) / bandRows_;
    const int last = std::min((static_cast<int>(hi) - 1) / bandRows_, Bands() - 1);
    const int index = static_cast<int>(prims_.size());
    for (int b = first; b <= last; ++b) bins_[static_cast<std::size_t>(b)].push_back(index);
    return true;
}

const Vertex& BandQueue::Flat(const Prim& p) const {
    return p.flat >= 0 ? flats_[static_cast<std::size_t>(p.flat)] : p.v[0];
}

const TriangleSetup* BandQueue::SetUpOnce(std::size_t n, const PixelState& ps, LoopCache& cache,
                                          TriangleSetup& own) {
    Slot& slot = slots_[n];
    std::atomic_ref<std::uint64_t> made(slot.made);
    const std::uint64_t scene = scene_ * 4;
    std::uint64_t now = made.load(std::memory_order_acquire);
    if (now == scene + kMade) return &slot.setup;
    if (now == scene + kEmpty) return nullptr;
    const Prim& p = prims_[n];
    const auto setUp = [&](TriangleSetup& t) {
        return ps.clipX1 < ps.clipX2 &&
               SetUpTriangle(ps, ps.clipY1, ps.clipY2, p.v[0], p.v[1], p.v[2], Flat(p), t, &cache);
    };
    if (now < scene &&
        made.compare_exchange_strong(now, scene + kBusy, std::memory_order_acquire)) {
        const bool any = setUp(slot.setup);
        made.store(scene + (any ? kMade : kEmpty), std::memory_order_release);
        return any ? &slot.setup : nullptr;
    }
    // Another band is making it: making the same set-up here is quicker
    // than waiting.
    return setUp(own) ? &own : nullptr;
}

void BandQueue::DrawBand(int band) {
    const int y1 = band * bandRows_, y2 = std::min(y1 + bandRows_, height_);
    LoopCache cache;
    TriangleSetup own, ownNext;
    int current = -1;
    const std::vector<int>& bin = bins_[static_cast<std::size_t>(band)];
    for (std::size_t at = 0; at < bin.size(); ++at) {
        const std::size_t n = static_cast<std::size_t>(bin[at]);
        const Prim& p = prims_[n];
        const PixelState& ps = states_[static_cast<std::size_t>(p.state)];
        if (p.state != current) {
            current = p.state;
            cache.Reset();
        }
        switch (p.kind) {
            case Kind::Triangle:
                if (const TriangleSetup* t = SetUpOnce(n, ps, cache, own)) {
                    // The draw's next triangle, when it shares an edge with
                    // this one (a quad's other half), is drawn with it.
                    if (t->pairs != nullptr && at + 1 < bin.size() &&
                        static_cast<std::size_t>(bin[at + 1]) == n + 1 &&
                        prims_[n + 1].state == p.state && prims_[n + 1].kind == Kind::Triangle) {
                        const TriangleSetup* u = SetUpOnce(n + 1, ps, cache, ownNext);
                        bool firstLeft = false;
                        if (u != nullptr && Pairable(*t, *u, firstLeft)) {
                            WalkPair(ps, firstLeft ? *t : *u, firstLeft ? *u : *t, y1, y2);
                            ++at;
                            break;
                        }
                    }
                    WalkTriangle(ps, *t, y1, y2);
                }
                break;
            case Kind::Clipped:
                DrawTriangleRows(ps, y1, y2, p.v[0], p.v[1], p.v[2], Flat(p));
                break;
            case Kind::Line:
                DrawLineRows(ps, y1, y2, p.v[0], p.v[1]);
                break;
        }
    }
}

void BandQueue::Run(BandPool& pool, const std::function<void(int)>* beforeBand) {
    if (!prims_.empty() || beforeBand != nullptr) {
        ++scene_;  // every set-up is to be made again
        if (slots_.size() < prims_.size()) slots_.resize(prims_.size());
        // The first tasks taken, one per thread, are bands spread over the
        // target, and each thread's next band is likely the one below its
        // last: threads seldom meet at a triangle, and a thread walks the
        // set-ups it has just made.
        const int bands = Bands();
        const int stride = (bands + pool.Threads() - 1) / pool.Threads();
        const int columns = (bands + stride - 1) / stride;
        pool.Run(columns * stride, [this, stride, columns, bands, beforeBand](int task) {
            const int band = task % columns * stride + task / columns;
            if (band >= bands) return;
            if (beforeBand != nullptr) (*beforeBand)(band);
            DrawBand(band);
        });
    }
    prims_.clear();
    flats_.clear();
    states_.clear();
    for (std::vector<int>& bin : bins_) bin.clear();
}

}  // namespace brumil::platform::raster
