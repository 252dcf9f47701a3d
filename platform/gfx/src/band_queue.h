#pragma once
// A scene's screen-space triangles and lines, each with the pixel state of
// its draw, kept in submission order and sorted into horizontal bands of the
// target. Each band draws every primitive that touches it, in order, clipped
// to its own rows; rows never depend on one another, so the picture is the
// same however the bands are shared among threads.

#include <vector>

#include "band_pool.h"
#include "raster.h"

namespace brumil::platform::raster {

class BandQueue {
public:
    // `height`: the target's rows; `bandRows`: rows per band (at least 1).
    BandQueue(int height, int bandRows);

    // Starts a draw: the primitives added after it take this state.
    void BeginDraw(const PixelState& ps);
    // As DrawTriangle and DrawLine would draw them now.
    void AddTriangle(const Vertex& a, const Vertex& b, const Vertex& c, const Vertex& flat);
    void AddLine(const Vertex& a, const Vertex& b);

    bool Empty() const { return prims_.empty(); }
    int Bands() const { return static_cast<int>(bins_.size()); }
    // Draws every band on the pool's threads, then empties the queue.
    void Run(BandPool& pool);

private:
    struct Prim {
        int state;
        bool line;
        Vertex v[3];
        Vertex flat;
    };
    // Files the last primitive under the bands its rows [y1, y2) meet.
    void File(float yMin, float yMax);
    void DrawBand(int band) const;

    int height_, bandRows_;
    std::vector<PixelState> states_;
    std::vector<Prim> prims_;
    std::vector<std::vector<int>> bins_;  // per band, primitive numbers in order
};

}  // namespace brumil::platform::raster
