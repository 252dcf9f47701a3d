#pragma once
// A triangle made ready once (snapped corners, attribute planes, sorted
// edges, the chosen loop) and then drawn a range of rows at a time, so a
// triangle that several bands of the target share is set up only once. The
// rows drawn never depend on how the range is cut: the edge walkers start
// exactly at any row.

#include <cstdint>

#include "edge_walk.h"
#include "raster.h"
#include "span.h"

namespace brumil::platform::raster {

// Sub-pixel precision of vertex positions: 1/256 pixel.
inline constexpr std::int64_t kSub = 256;

// Everything of a triangle that does not depend on which rows are drawn.
// Kept in storage that is used again: SetUpTriangle writes every field the
// drawing reads.
struct TriangleSetup {
    Planes p;
    Fixed f[3];             // the snapped corners from top to bottom
    RowsFn rows = nullptr;  // the run-of-rows loop, else `span` row by row
    SpanFn span = nullptr;
    PairRowsFn pairs = nullptr;  // the run-of-rows loop's form for pairs, if any
    int yFirst = 0, yEnd = 0;    // its rows inside the scissor: [yFirst, yEnd)
    bool longOnLeft = false;     // the edge from top to bottom corner is the left one
};

// The loops chosen for the last triangle of one state, given again to the
// next triangles for which ChooseRows and ChooseSpan would answer the same:
// those that read of the triangle only whether it is drawn in perspective
// and with constant colours, and the diffuse colour (in Planes::Vector).
class LoopCache {
public:
    // Fills t.rows, t.pairs, t.span and t.p.vec as ChooseRows and ChooseSpan
    // would.
    void Choose(const PixelState& ps, TriangleSetup& t);
    // Forgets the choice: the next triangles take another state.
    void Reset() { filled_ = false; }

private:
    bool filled_ = false;
    bool perspective_ = false, constColor_ = false;
    std::uint32_t diffuse_ = 0;  // packed, as Planes::Vector holds it
    RowsFn rows_ = nullptr;
    PairRowsFn pairs_ = nullptr;
    SpanFn span_ = nullptr;
    Planes::Vector vec_;
};

// Whether every corner lies inside the guard band, so that the triangle
// needs no clipping before it is set up.
bool InsideGuardBand(const Vertex& a, const Vertex& b, const Vertex& c);

// Sets up a triangle inside the guard band for its rows in the scissor and
// in [y1, y2); false when it has no pixel there. `cache` may be null (every
// choice made anew); otherwise it must have been reset since the state last
// changed.
bool SetUpTriangle(const PixelState& ps, int y1, int y2, const Vertex& a, const Vertex& b,
                   const Vertex& c, const Vertex& flat, TriangleSetup& t, LoopCache* cache);
// Draws the set-up triangle's rows in [y1, y2).
void WalkTriangle(const PixelState& ps, const TriangleSetup& t, int y1, int y2);

// Whether two set-up triangles of one state lie on either side of an edge
// they share and have the same pair loop and constant colour, so that
// WalkPair may draw them: their pixels are apart, so the order in which they
// are drawn changes nothing. `firstLeft` tells which lies left of the edge.
bool Pairable(const TriangleSetup& first, const TriangleSetup& second, bool& firstLeft);
// Draws the rows [y1, y2) of a Pairable pair, each pixel as WalkTriangle
// would draw it.
void WalkPair(const PixelState& ps, const TriangleSetup& left, const TriangleSetup& right, int y1,
              int y2);

// Draws a draw's triangles one at a time as DrawTriangleRows would, but
// keeps back each that has a pair loop until the next is known, so that a
// quad's two halves are walked together. What is kept must be drawn by
// Flush before the state changes or anything else draws.
class PairingDrawer {
public:
    // `cache` as SetUpTriangle takes it.
    void Draw(const PixelState& ps, const Vertex& a, const Vertex& b, const Vertex& c,
              const Vertex& flat, LoopCache* cache);
    void Flush(const PixelState& ps);

private:
    TriangleSetup setups_[2];
    int held_ = -1;  // the set-up kept back, or -1
};

// DrawTriangle and DrawLine limited to the rows [y1, y2) of the scissor.
// `cache` as SetUpTriangle takes it.
void DrawTriangleRows(const PixelState& ps, int y1, int y2, const Vertex& a, const Vertex& b,
                      const Vertex& c, const Vertex& flat, LoopCache* cache = nullptr);
void DrawLineRows(const PixelState& ps, int y1, int y2, const Vertex& a, const Vertex& b);

}  // namespace brumil::platform::raster
