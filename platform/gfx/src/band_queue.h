#pragma once
// A scene's screen-space triangles and lines, each with the pixel state of
// its draw, kept in submission order and sorted into horizontal bands of the
// target. Each band draws every primitive that touches it, in order, limited
// to its own rows; a triangle is set up once, by whichever band meets it
// first, and walked by each. Neither a set-up nor a row depends on another
// row, so the picture is the same however the bands are shared among threads.

#include <cstdint>
#include <functional>
#include <vector>

#include "band_pool.h"
#include "raster.h"
#include "triangle_setup.h"

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
    // `beforeBand`, when given, runs for each band on the thread that draws
    // it, just before its primitives, even when nothing is recorded.
    void Run(BandPool& pool, const std::function<void(int)>* beforeBand = nullptr);

private:
    // How a band draws a primitive.
    enum class Kind : unsigned char {
        Triangle,  // set up once, by the first band to meet it; each band walks its rows
        Clipped,   // past the guard band: clipped and drawn by each band
        Line,
    };
    struct Prim {
        int state;
        int flat;  // in flats_, or -1 for the first corner (when the state is not flat)
        Kind kind;
        Vertex v[3];
    };
    // Files the primitive about to be added under the bands its rows
    // [yMin, yMax] meet in the scissor of the last state; false when there
    // are none (then it is not to be added).
    bool File(float yMin, float yMax);
    // The vertex whose colours a primitive takes under flat shading.
    const Vertex& Flat(const Prim& p) const;
    // The set-up of triangle n, made now when no band has made it yet, or
    // made in `own` while another band is making it; null when the
    // triangle has no pixel.
    const TriangleSetup* SetUpOnce(std::size_t n, const PixelState& ps, LoopCache& cache,
                                   TriangleSetup& own);
    void DrawBand(int band);

    int height_, bandRows_;
    std::vector<PixelState> states_;
    std::vector<Prim> prims_;
    std::vector<Vertex> flats_;           // for the triangles of flat states
    std::vector<std::vector<int>> bins_;  // per band, primitive numbers in order
    // Per primitive, its set-up and whether it is made: the scene's number
    // times four plus kBusy, kEmpty or kMade, any older value meaning not
    // yet begun (read and written through std::atomic_ref while bands run).
    // The word sits beside its set-up, so that bands making different
    // triangles do not write the same cache line. Kept from scene to scene.
    struct Slot {
        std::uint64_t made = 0;
        TriangleSetup setup;
    };
    std::vector<Slot> slots_;
    std::uint64_t scene_ = 0;  // counts the runs
};

}  // namespace brumil::platform::raster
