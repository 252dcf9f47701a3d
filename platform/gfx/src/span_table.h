#pragma once
// The choice, among a family of span loops made for every blend, projection,
// filter, depth use and combine, of the pair that draws one triangle. The
// four-pixel and the eight-pixel loops each name their family.

#include "span_wide.h"

namespace brumil::platform::raster {

// `Loops<B, Perspective, Linear, Depth, General>::Fns()` gives one pair.
template <template <Blend, bool, bool, bool, bool> class Loops>
struct LoopTable {
    // The pair for these choices, or none when the family has no loop for
    // the blend.
    static VectorFns Pick(Blend b, bool perspective, bool linear, bool depth, bool general) {
        return perspective ? ByFilter<true>(b, linear, depth, general)
                           : ByFilter<false>(b, linear, depth, general);
    }

private:
    template <bool P, bool L, bool D, bool G>
    static VectorFns ByBlend(Blend b) {
        switch (b) {
            case Blend::None:
                return Loops<Blend::None, P, L, D, G>::Fns();
            case Blend::SrcAlphaInvSrcAlpha:
                return Loops<Blend::SrcAlphaInvSrcAlpha, P, L, D, G>::Fns();
            case Blend::SrcAlphaOne:
                return Loops<Blend::SrcAlphaOne, P, L, D, G>::Fns();
            case Blend::OneOne:
                return Loops<Blend::OneOne, P, L, D, G>::Fns();
            default:
                return {};
        }
    }
    template <bool P, bool L, bool D>
    static VectorFns ByCombine(Blend b, bool general) {
        return general ? ByBlend<P, L, D, true>(b) : ByBlend<P, L, D, false>(b);
    }
    template <bool P, bool L>
    static VectorFns ByDepth(Blend b, bool depth, bool general) {
        return depth ? ByCombine<P, L, true>(b, general) : ByCombine<P, L, false>(b, general);
    }
    template <bool P>
    static VectorFns ByFilter(Blend b, bool linear, bool depth, bool general) {
        return linear ? ByDepth<P, true>(b, depth, general) : ByDepth<P, false>(b, depth, general);
    }
};

}  // namespace brumil::platform::raster
