// CQuadefects: one frame of the transition on the back surface.

#include <cmath>

#include "frontend/quadefects.h"

namespace brumil::frontend {

namespace {

constexpr std::int32_t kOutlineColorRef = 0xFF00;  // green, as a 0x00BBGGRR reference
constexpr int kOutlineWidth = 3;

Long R(Single v) {
    return RoundToLong(v);
}

}  // namespace

CQuadefects::Shape CQuadefects::ShapeAt() const {
    const Single t = static_cast<Single>(counter_) / static_cast<Single>(endCount_);
    Shape s;
    s.insetX = t * static_cast<Single>(edge_) / 2.0f;
    s.insetY = t * static_cast<Single>(step_) / 2.0f;
    s.width = (1.0f - t) * static_cast<Single>(edge_);
    s.height = (1.0f - t) * static_cast<Single>(step_);
    return s;
}

void CQuadefects::PrepareMask(const Shape& s, Single t) {
    mask_->BltColorFill(0);
    framework::SetDDSColorKey(mask_, false, 0);
    mask_->SetForeColor(kOutlineColorRef);
    mask_->SetDrawWidth(kOutlineWidth);
    const int x1 = R(s.insetX), y1 = R(s.insetY);
    const int x2 = R(s.insetX + s.width), y2 = R(s.insetY + s.height);
    if (t < 0.5f) {
        const int corner = R(2.0f * t * static_cast<Single>(edge_));
        mask_->DrawRoundedBox(x1, y1, x2, y2, corner, corner);
    } else {
        mask_->DrawEllipse(x1, y1, x2, y2);
    }
}

void CQuadefects::DoCompose() {
    using namespace framework;
    const SurfacePtr work = GetWorkDDS(5);
    if (endCount_ == 0 || !work) return;
    const SurfacePtr& back = gBackDDS();

    const Long level = GetRenderLevel();
    if (level != renderLevel_) {
        renderLevel_ = level;
        mask_.reset();
    }
    if (!IsDDSAlive(mask_) || GetDDSWidth(mask_) < edge_ || GetDDSHeight(mask_) < step_) {
        const bool systemMemory = ReadDDSDescription(work).memoryKind == 0;
        mask_ = CreateOffscreenDDS(edge_, step_, systemMemory, 0);
    }
    if (!mask_) return;

    const Long previous = parity_;
    parity_ = (parity_ + 1) & 1;
    const Single t = static_cast<Single>(counter_) / static_cast<Single>(endCount_);
    const Shape now = ShapeAt();
    shapes_[static_cast<std::size_t>(parity_)] = now;
    if (counter_ == 0) shapes_[static_cast<std::size_t>(previous)] = now;
    const Shape was = shapes_[static_cast<std::size_t>(previous)];
    if (!(was.width > 0.0f) || !(was.height > 0.0f)) return;  // the transition is over
    ++counter_;

    PrepareMask(now, t);
    // A size that rounds below 1 draws nothing: 0 would mean "the whole
    // surface" to the blits and fills.
    const Long w = R(now.width), h = R(now.height);
    const bool drawNow = w >= 1 && h >= 1;
    const Long wasW = R(was.width), wasH = R(was.height);
    const bool fillWas = wasW >= 1 && wasH >= 1;

    for (Long i = first_; i <= last_; ++i) {
        QuadTile& tile = tiles_[static_cast<std::size_t>(i)];
        tile.previous = tile.current;
        tile.current = (tile.current + 1) & 1;
        const auto p = static_cast<std::size_t>(tile.previous);
        const auto c = static_cast<std::size_t>(tile.current);
        tile.x[c] = tile.x[p] + tile.vx;
        tile.y[c] = tile.y[p] + tile.vy;
        tile.vx += tile.accel * std::cos(tile.accelAngle);
        tile.vy -= tile.accel * std::sin(tile.accelAngle);
        if (drawNow) {
            BltDDS(work, mask_, R(static_cast<Single>(tile.srcX) + now.insetX),
                   R(static_cast<Single>(tile.srcY) + now.insetY), w, h, R(now.insetX),
                   R(now.insetY), true, false);
        }
        if (fillWas) {
            BltDDSColorFill(back, R(tile.x[p] + was.insetX), R(tile.y[p] + was.insetY), wasW, wasH,
                            fillColor_, false);
        }
    }

    // Key the captured picture by the outline colour as its own format stores
    // it: draw one outline pixel at the mask's corner and copy it over.
    mask_->DrawBox(0, 0, 1, 1);
    BltDDS(work, mask_, 0, 0, 1, 1, 0, 0, false, false);
    SetDDSColorKey(work, false, 0);

    if (!drawNow) return;
    for (Long i = first_; i <= last_; ++i) {
        const QuadTile& tile = tiles_[static_cast<std::size_t>(i)];
        const auto c = static_cast<std::size_t>(tile.current);
        BltDDS(back, work, R(tile.x[c] + now.insetX), R(tile.y[c] + now.insetY), w, h,
               R(static_cast<Single>(tile.srcX) + now.insetX),
               R(static_cast<Single>(tile.srcY) + now.insetY), true, false);
    }
}

}  // namespace brumil::frontend
