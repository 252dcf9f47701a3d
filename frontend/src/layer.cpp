#include "frontend/layer.h"

#include <algorithm>

#include "image/cmg_bbi_function.h"

namespace brumil::frontend {

namespace {
// The largest side a picture can have.
constexpr Long kMaxSide = 8000;
constexpr Long kMinSide = 8;
}  // namespace

CLayer::CLayer() {
    Resize(0, 0, 0);
}

Long CLayer::Use(At index) {
    index_ = index.value_or(index_);
    return index_;
}

std::vector<Long> CLayer::Chain(Long start) const {
    std::vector<Long> chain;
    if (!Valid(start)) return chain;
    std::vector<bool> seen(entries_.size(), false);
    Long at = start;
    while (Valid(at) && !seen[static_cast<std::size_t>(at)]) {
        seen[static_cast<std::size_t>(at)] = true;
        chain.push_back(at);
        at = entries_[static_cast<std::size_t>(at)].config.LinkIndex;
        if (at == 0) break;  // 0 means no link
    }
    return chain;
}

void CLayer::Resize(Long width, Long height, Long count) {
    width_ = std::clamp(width, kMinSide, kMaxSide);
    height_ = std::clamp(height, kMinSide, kMaxSide);
    if (count < 1) count = 1;
    size_.Create(0, 0, width_, height_);
    entries_.clear();
    entries_.resize(static_cast<std::size_t>(count));
    for (LayerEntry& e : entries_) e.config.Rect.Create(0, 0, width_, height_);
    picture_ = image::CmgBBI();
    picture_.CreateBBI(width_, height_, 0);
    entries_.front().dirty = size_;
}

void CLayer::AllRemove() {
    Resize(width_, height_, Count());
}

image::CmgBBI& CLayer::AllocateBBI(LayerEntry& entry) {
    if (!entry.picture) {
        entry.picture = std::make_unique<image::CmgBBI>();
        entry.picture->CreateBBI(width_, height_, 0);
    }
    return *entry.picture;
}

void CLayer::RedrawOne(LayerEntry& entry) {
    if (!entry.removed) entry.dirty.ExpandRect(entry.painted);
}

void CLayer::Redraw(At index) {
    const Long i = Use(index);
    if (Valid(i)) RedrawOne(Entry(i));
}

void CLayer::RemoveOne(LayerEntry& entry, bool erase) {
    entry.removed = true;
    if (!entry.text.empty()) {
        entry.text.clear();
        entry.position = 0;
        entry.length = 0;
        entry.painted.ExpandRect(entry.textRegion);
    }
    // Without a picture there is nothing to erase; making one here would only
    // cost memory.
    if (!erase || !entry.picture) return;
    auto& fx = image::gBBIFunction();
    for (const core::CRect& r : {entry.painted, entry.dirty}) {
        if (!r.IsZero()) fx.BBIDrawColorFill(*entry.picture, r.X, r.Y, r.Width, r.Height, 0, 0);
    }
}

void CLayer::Remove(At index, bool erase) {
    const Long i = Use(index);
    for (Long e : Chain(i)) RemoveOne(Entry(e), erase);
}

image::CmgBBI* CLayer::BBI(At index) {
    const Long i = Use(index);
    return Valid(i) ? &AllocateBBI(Entry(i)) : nullptr;
}

bool CLayer::HasBBI(Long index) const {
    return Valid(index) && entries_[static_cast<std::size_t>(index)].picture != nullptr;
}

CLayerConfig* CLayer::Config(At index) {
    const Long i = Use(index);
    return Valid(i) ? &Entry(i).config : nullptr;
}

core::CRect* CLayer::Dirt(At index) {
    const Long i = Use(index);
    return Valid(i) ? &Entry(i).dirty : nullptr;
}

image::CmgBBI& CLayer::DoCompose(core::CRect& dirty) {
    dirty.Delete();
    for (LayerEntry& e : entries_) {
        if (e.removed) {
            dirty.ExpandRect(e.painted);
            e.painted.Delete();
            e.visible = false;
            e.removed = false;
        }
        if (e.position > 0) TypingStep(e);
        if (!e.dirty.IsZero()) {
            dirty.ExpandRect(e.dirty);
            e.painted.ExpandRect(e.dirty);
            e.dirty.Delete();
            e.visible = true;
        }
    }
    dirty.TrimRect(size_);
    if (dirty.IsZero()) return picture_;

    auto& fx = image::gBBIFunction();
    // Start from a clear region: where no visible entry covers it any more
    // (a removed entry with nothing below), nothing of the old content stays.
    fx.BBIDrawColorFill(picture_, dirty.X, dirty.Y, dirty.Width, dirty.Height, 0, 0);
    for (LayerEntry& e : entries_) {
        if (!e.visible) continue;
        core::CRect clip = dirty;
        clip.TrimRect(e.painted);
        if (clip.Width < 1 || clip.Height < 1) continue;
        const CLayerConfig& c = e.config;
        fx.BBIExpandChooseBlt(picture_, AllocateBBI(e), clip.X, clip.Y, clip.Width, clip.Height,
                              clip.X, clip.Y, clip.Width, clip.Height, c.Choose1, c.Choose2,
                              c.Choose3, 0, 0, c.Choose6, c.Choose7, c.Choose8, c.Choose9,
                              c.Choose10, c.Choose11, 0);
    }
    return picture_;
}

}  // namespace brumil::frontend
