#pragma once
// CLayer: a screen-area picture composed from a fixed number of entries.
//
// Each entry owns a layer-sized picture (made on first need), a style
// (CLayerConfig), the rectangle it has shown on the layer ("painted"), the part
// of its picture changed since the last composition ("dirty"), and an optional
// text typed in character by character. Once per frame the owner calls
// DoCompose: it advances every typing effect by one tick, recomposes the dirty
// region from the visible entries in entry order (entry 0 first, later entries
// over it) and answers that region, so only it needs presenting.
//
// Indexed members take an optional entry index first; without one they use
// Index(). Either way they leave Index() at the index they used and act only
// on a valid index (0 <= index < Count()); getters answer nothing (nullptr,
// nullopt, "" or 0) for an invalid one.
//
// Links: an entry whose config has LinkIndex <> 0 passes Remove, Text,
// TextNoWait, TextOut and Locate on to that entry. Chains are followed only
// through valid indexes and stop at the first entry already visited, so a loop
// of links ends.
//
// Text is laid out and drawn with the shared text renderer gBBIString() and
// blended with gBBIFunction(); the layer sets the renderer's font settings from
// the entry's config each time it lays out or types.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/rect.h"
#include "core/vb_types.h"
#include "frontend/layer_config.h"
#include "image/cmg_bbi.h"

namespace brumil::frontend {

struct LayerEntry {
    std::unique_ptr<image::CmgBBI> picture;  // layer-sized, made on first need
    CLayerConfig config;
    core::CRect painted;  // everything this entry has shown on the layer
    core::CRect dirty;    // changed since the last composition
    std::string text;     // the text last set
    Single waitClock = 0.0f;
    Long position = 0;  // next character to type, 1-based; 0 when not typing
    Long length = 0;    // laid-out characters; 0 when not typing
    std::vector<std::string> characters;
    std::vector<Long> waits;  // ticks each character waits before it is drawn
    std::vector<core::CRect> boxes;
    core::CRect textRegion;  // union of the boxes of the current text
    bool visible = false;    // takes part in composition
    bool removed = false;    // the next composition takes `painted` off the layer
};

class CLayer {
public:
    using At = std::optional<Long>;  // an entry index, or the current Index()

    // An 8 x 8 layer with one entry (Resize(0, 0, 0)).
    CLayer();
    CLayer(const CLayer&) = delete;
    CLayer& operator=(const CLayer&) = delete;

    Long Index() const { return index_; }
    void SetIndex(Long index) { index_ = index; }
    Long Width() const { return width_; }
    Long Height() const { return height_; }
    Long Count() const { return static_cast<Long>(entries_.size()); }

    // Width and height at least 8 (and at most 8000, the largest picture),
    // count at least 1. Drops every entry, gives each a new config whose Rect
    // is the whole layer, recreates the layer picture cleared and marks the
    // whole layer dirty through entry 0.
    void Resize(Long width, Long height, Long count);
    // Resize with the current size and count.
    void AllRemove();

    // Hands the entry's painted area to its dirty rectangle (unless removed).
    void Redraw(At index = {});
    // Marks the entry removed so the next composition recomposes its painted
    // area from the others; drops its text. With erase, clears the entry
    // picture (all channels 0) over its painted and dirty rectangles; an
    // entry without a picture has nothing to erase. Follows the link.
    void Remove(At index, bool erase);

    // The entry picture, made when missing. Who draws into it adds what changed
    // to Dirt(). nullptr for an invalid index.
    image::CmgBBI* BBI(At index = {});
    // True when the entry has a picture already (does not make one).
    bool HasBBI(Long index) const;
    CLayerConfig* Config(At index = {});
    // The entry's dirty rectangle itself; callers grow it.
    core::CRect* Dirt(At index = {});

    // Sets a text to be typed from the start of the config's Rect: Remove with
    // erase, then lays it out; the same on the linked entries.
    void Text(At index, std::string_view text);
    std::string Text(At index = {});
    // Characters still to appear while typing, else 0.
    Long TextWaitCount(At index = {});
    // The rest of the text appears at the next composition (linked entries too).
    void TextNoWait(At index = {});
    // A copy of the text region.
    std::optional<core::CRect> TextRgn(At index = {});
    // Draws a text at once over what the picture holds (no Remove), leaving the
    // config's TextWait rounded to a whole number; linked entries too; then
    // Redraw.
    void TextOut(At index, std::string_view text);
    // Sets the text cursor of the entry and of its linked entry.
    void Locate(Long index, Long x, Long y);
    // Types a text from the text cursor and moves the cursor past it. While the
    // entry is still typing the characters are appended to those waiting.
    // Neither clears the picture nor follows the link.
    void Command(At index, std::string_view text);

    // One composition: answers the layer picture and sets `dirty` to the region
    // that changed (empty when nothing did).
    image::CmgBBI& DoCompose(core::CRect& dirty);
    const image::CmgBBI& Picture() const { return picture_; }

private:
    // Resolves an optional index and records it as Index().
    Long Use(At index);
    bool Valid(Long index) const { return index >= 0 && index < Count(); }
    LayerEntry& Entry(Long index) { return entries_[static_cast<std::size_t>(index)]; }
    // The entry and its linked entries, each once.
    std::vector<Long> Chain(Long start) const;
    image::CmgBBI& AllocateBBI(LayerEntry& entry);
    void RemoveOne(LayerEntry& entry, bool erase);
    void RedrawOne(LayerEntry& entry);
    // Lays a text out from (x, y) of the config's Rect; answers the end
    // position in x and y. Append keeps the characters still waiting.
    void LayOut(LayerEntry& entry, std::string_view text, Long& x, Long& y, bool append);
    void TypingStep(LayerEntry& entry);

    image::CmgBBI picture_;
    Long width_ = 8;
    Long height_ = 8;
    Long index_ = 0;
    core::CRect size_;
    std::vector<LayerEntry> entries_;
};

}  // namespace brumil::frontend
