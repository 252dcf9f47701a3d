#pragma once
// Generated pictures of the texture cache's "?" names.

#include "core/vb_types.h"

namespace brumil::render {

class CGraphics;

// A size x size soft round spot: opaque white at the centre fading along half
// a cosine to transparent black at `radius` ramp entries (of 255 to the edge
// of the inscribed circle); radius is held in 1..255. Answers 0.
Long CreateAlphaTexture(CGraphics& graphic, Long size, Long radius);

// A size x size test grid of cells x cells numbered cells (1 at the top left,
// row by row), coloured along a ramp, each with its number in the cell's top
// right. Cells above 16 count as 16; answers 1 and changes nothing for cells
// below 1, else 0.
Long CreateStageTexture(CGraphics& graphic, Long size, Long cells);

}  // namespace brumil::render
