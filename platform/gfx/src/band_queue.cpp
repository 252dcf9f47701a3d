#include "band_queue.h"

#include <algorithm>
#include <cmath>

namespace brumil::platform::raster {

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
    prims_.push_back({static_cast<int>(states_.size()) - 1, false, {a, b, c}, flat});
    File(std::min({a.y, b.y, c.y}), std::max({a.y, b.y, c.y}));
}

void BandQueue::AddLine(const Vertex& a, const Vertex& b) {
    if (states_.empty()) return;
    prims_.push_back({static_cast<int>(states_.size()) - 1, true, {a, b, b}, a});
    File(std::min(a.y, b.y), std::max(a.y, b.y));
}

void BandQueue::File(float yMin, float yMax) {
    const PixelState& ps = states_.back();
    // The rows a primitive can touch, widened by a row each way for the
    // rounding of its edges; none when a bound is not a number (max and min
    // then answer it, and the comparison fails).
    const float lo = std::max(std::floor(yMin) - 1.0f, float(ps.clipY1));
    const float hi = std::min(std::ceil(yMax) + 1.0f, float(ps.clipY2));
    if (!(lo < hi)) {
        prims_.pop_back();
        return;
    }
    const int first = static_cast<int>(lo) / bandRows_;
    const int last = std::min((static_cast<int>(hi) - 1) / bandRows_, Bands() - 1);
    const int index = static_cast<int>(prims_.size()) - 1;
    for (int b = first; b <= last; ++b) bins_[static_cast<std::size_t>(b)].push_back(index);
}

void BandQueue::DrawBand(int band) const {
    const int y1 = band * bandRows_, y2 = std::min(y1 + bandRows_, height_);
    PixelState local;
    int current = -1;
    for (const int i : bins_[static_cast<std::size_t>(band)]) {
        const Prim& p = prims_[static_cast<std::size_t>(i)];
        if (p.state != current) {
            current = p.state;
            local = states_[static_cast<std::size_t>(current)];
            local.clipY1 = std::max(local.clipY1, y1);
            local.clipY2 = std::min(local.clipY2, y2);
        }
        if (p.line) {
            DrawLine(local, p.v[0], p.v[1]);
        } else {
            DrawTriangle(local, p.v[0], p.v[1], p.v[2], p.flat);
        }
    }
}

void BandQueue::Run(BandPool& pool) {
    if (!prims_.empty()) pool.Run(Bands(), [this](int band) { DrawBand(band); });
    prims_.clear();
    states_.clear();
    for (std::vector<int>& bin : bins_) bin.clear();
}

}  // namespace brumil::platform::raster
