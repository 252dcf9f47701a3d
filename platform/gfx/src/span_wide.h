#pragma once
// The choice between the four-pixel SSE2 loops and their eight-pixel AVX2
// and sixteen-pixel AVX-512 forms. Only declarations: the wider loops live
// in sources built for their processor level, reached through these
// functions when the processor has it.

#include "span.h"

namespace brumil::platform::raster {

// A triangle's span loop and its run-of-rows loop, and the form of that for
// pairs of triangles where the family has one.
struct VectorFns {
    SpanFn span = nullptr;
    RowsFn rows = nullptr;
    PairRowsFn pairs = nullptr;
};

// Whether the processor runs AVX2 (asked once).
bool WideLoopsUsable();

// The eight-pixel loops for a state whose four-pixel loop ChooseVector
// picked with these choices (p.vec filled), or none. Only to be called when
// WideLoopsUsable().
VectorFns WideVectorFns(Blend blend, bool perspective, bool linear, bool depth, bool general);

// Whether the processor runs the AVX-512 subsets the sixteen-pixel loops
// use (foundation, byte and word, vector length, doubleword; asked once).
bool Wide16LoopsUsable();

// The sixteen-pixel forms of WideVectorFns' loops, or none (for
// perspective, among others). Only to be called when Wide16LoopsUsable().
VectorFns Wide16VectorFns(Blend blend, bool perspective, bool linear, bool depth, bool general);

}  // namespace brumil::platform::raster
