#pragma once
// CQuadefects: the tile-split screen transition. The picture that was on
// screen is held in the framework's work surface and cut into square tiles;
// each frame every tile moves by its velocity (which its acceleration changes)
// while it shrinks from a full square through a rounded square to an ellipse
// and vanishes. A split rule picks the tile edge and gives every tile its
// starting velocity and acceleration; the owner then calls DoCompose once per
// frame while Efects() is true.
//
// All drawing is surface work on the back surface (gBackDDS) with the work
// surface (GetWorkDDS(5)) as the captured picture: a tile-sized mask surface
// holds this frame's shape outline, which is stamped into the captured picture
// and keyed out, so each tile shows only the inside of its shape.
//
// Random numbers come from the generator given at creation, which must outlive
// the transition (the menus' own stream, never the battle's); each mention of
// a random value in a rule is one draw, in the order the rule lists them.

#include <array>
#include <vector>

#include "core/math_random.h"
#include "core/vb_types.h"
#include "framework/display.h"
#include "framework/splib.h"

namespace brumil::frontend {

struct QuadTile {
    Long current = 0;   // slot of x and y holding the current position
    Long previous = 0;  // slot that held it before the last step
    Long srcX = 0;      // left edge in the captured picture
    Long srcY = 0;      // top edge in the captured picture
    std::array<Single, 2> x{};
    std::array<Single, 2> y{};
    Single vx = 0.0f;          // pixels per frame
    Single vy = 0.0f;          // pixels per frame, positive is down
    Single accelAngle = 0.0f;  // radians, 0 right, pi/2 up
    Single accel = 0.0f;       // pixels per frame per frame
};

class CQuadefects : public framework::ILibEvents {
public:
    explicit CQuadefects(core::MathRandom& random);
    ~CQuadefects() override = default;
    CQuadefects(const CQuadefects&) = delete;
    CQuadefects& operator=(const CQuadefects&) = delete;

    // Colour of the tiles' previous screen rectangles, filled each frame.
    Long FillColor() const { return fillColor_; }
    void FillColor(Long color) { fillColor_ = color; }

    // True while frames remain.
    bool Efects() const { return counter_ < endCount_; }
    Long EndCount() const { return endCount_; }
    // Lengthens the transition; a smaller value is ignored.
    void EndCount(Long n) {
        if (n > endCount_) endCount_ = n;
    }

    // Split rules. Size (clamped to 8..48) is about the number of tiles
    // across; every other argument is in pixels, frames and radians.
    void SplitRgnStatic(Long size);
    void SplitRgnRand(Long size, Single speedBase, Single speedRange, Single accelBase,
                      Single accelRange);
    void SplitRgnAngle(Long size, Single speedBase, Single speedRange, Single angleBase,
                       Single angleRange, Single accelBase, Single accelRange,
                       Single accelAngleBase, Single accelAngleRange);
    // Tiles fly relative to a centre given as fractions of the screen: tiles
    // far from it move fastest.
    void SplitRgnRing(Long size, Single speedBase, Single speedRange, Single centerX,
                      Single centerY, Single accelBase, Single accelRange, Single accelAngleBase,
                      Single accelAngleRange);
    // Re-aims every tile's acceleration relative to a centre, keeping velocity.
    void Acceleration(Single centerX, Single centerY, Single accelBase, Single accelRange,
                      Single angleScale, Single angleBase, Single angleRange);

    // One frame.
    void DoCompose();

    void xLib_TerminateDraw() override { mask_.reset(); }

    // Inspection.
    Long Edge() const { return edge_; }
    Long Counter() const { return counter_; }
    Long First() const { return first_; }
    Long Last() const { return last_; }
    Long TileCapacity() const { return count_; }
    const QuadTile& Tile(Long i) const { return tiles_.at(static_cast<std::size_t>(i)); }

private:
    struct Shape {
        Single insetX = 0.0f, insetY = 0.0f, width = 0.0f, height = 0.0f;
    };
    Single Rnd();
    void ReadSurfaceSize();
    // Sets the grid up and gives each tile its motion through `motion`.
    template <typename Motion>
    void SetupTiles(Long size, bool ring, Motion motion);
    Shape ShapeAt() const;
    void PrepareMask(const Shape& s, Single t);

    core::MathRandom& random_;
    Long fillColor_ = 0;
    framework::SurfacePtr mask_;
    std::vector<QuadTile> tiles_ = std::vector<QuadTile>(1);
    Long count_ = 0;
    Long first_ = 0;
    Long last_ = -1;
    Long endCount_ = 0;
    Long counter_ = 0;
    Long edge_ = 2;
    Long step_ = 2;
    Long width_ = 0;
    Long height_ = 0;
    Long renderLevel_ = 0;
    Long parity_ = 0;
    std::array<Shape, 2> shapes_{};
    framework::LibEventSubscription subscription_{this};
};

}  // namespace brumil::frontend
