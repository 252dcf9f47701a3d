// CIMArkHitTest: the texture-point search and its hit list.
#include <cmath>
#include <type_traits>

#include "core/math_helpers.h"
#include "hit_test_walk.h"
#include "platform/gfx/dx7_math.h"
#include "render/ark.h"
#include "render/hit_test.h"

namespace brumil::render {

namespace {

std::size_t At(Long i) {
    return static_cast<std::size_t>(i);
}

template <typename V>
std::vector<D3DTLVERTEX> ProjectAll(const CIMArk& ark, const D3DMATRIX& world,
                                    std::span<const V> vertices, const HitGeometry& g) {
    std::vector<D3DTLVERTEX> out(vertices.size());
    if constexpr (std::is_same_v<V, D3DVERTEX>) {
        ark.ProjectVerticesFromVertex(world, out, vertices, g.start, g.count);
    } else {
        ark.ProjectVerticesFromLVertex(world, out, vertices, g.start, g.count);
    }
    return out;
}

}  // namespace

void CIMArkHitTest::TexturePointHitAdd(Long triangle, Single t, Single tu, Single tv) {
    if (hitCount_ >= hitCapacity_) {
        hitCapacity_ = 2 * hitCount_ + 2;
        const std::size_t size = At(hitCapacity_);
        hitOrder_.resize(size);
        hitTriangle_.resize(size);
        hitTu_.resize(size);
        hitTv_.resize(size);
        hitDistance_.resize(size);
    }
    const std::size_t k = At(hitCount_);
    hitOrder_[k] = hitCount_;
    hitTriangle_[k] = triangle;
    hitDistance_[k] = t;
    hitTu_[k] = tu;
    hitTv_[k] = tv;
    ++hitCount_;
}

TexturePointResult CIMArkHitTest::TexturePointHitSort(Long rank) {
    TexturePointResult r;
    if (rank < 0 || rank >= hitCount_) return r;
    Long entry = 0;
    if (hitCount_ > 1) {
        core::SortIndex(std::span<const Single>(hitDistance_.data(), At(hitCount_)),
                        std::span<Long>(hitOrder_.data(), At(hitCount_)), false);
        entry = hitOrder_[At(rank)];
    }
    r.found = true;
    r.triangle = hitTriangle_[At(entry)];
    r.t = hitDistance_[At(entry)];
    r.tu = hitTu_[At(entry)];
    r.tv = hitTv_[At(entry)];
    return r;
}

TexturePointResult CIMArkHitTest::Get_TexturePoint_TLVERTEX(
    const CIMArk& ark, Single x1, Single y1, Single z1, Single x2, Single y2, Single z2,
    std::span<const D3DTLVERTEX> vertices, const HitGeometry& g, bool straight, Long rank) {
    const D3DTLVERTEX p1 = ark.ProjectVertex(x1, y1, z1);
    const D3DTLVERTEX p2 = ark.ProjectVertex(x2, y2, z2);
    const D3DVECTOR a{p1.sx, p1.sy, p1.sz}, b{p2.sx, p2.sy, p2.sz};
    D3DVECTOR d;
    platform::DirectX7::VectorSubtract(d, b, a);
    platform::DirectX7::VectorNormalize(d);

    TexturePointHitClear();
    bool found = false;
    detail::WalkTriangles(g, vertices.size(),
                          [&](Long i, std::size_t ia, std::size_t ib, std::size_t ic) {
                              Single t = 0, tu = 0, tv = 0;
                              if (Get_TexturePoint(a, b, d, vertices[ia], vertices[ib],
                                                   vertices[ic], straight, t, tu, tv)) {
                                  TexturePointHitAdd(i, t, tu, tv);
                                  found = true;
                              }
                              return false;  // every triangle
                          });
    if (!found) return {};
    return TexturePointHitSort(rank);
}

TexturePointResult CIMArkHitTest::Get_TexturePoint_VERTEX(
    const CIMArk& ark, Single x1, Single y1, Single z1, Single x2, Single y2, Single z2,
    std::span<const D3DVERTEX> vertices, const HitGeometry& g, const D3DMATRIX& world,
    bool straight, Long rank) {
    const auto screen = ProjectAll(ark, world, vertices, g);
    return Get_TexturePoint_TLVERTEX(ark, x1, y1, z1, x2, y2, z2, screen, g, straight, rank);
}

TexturePointResult CIMArkHitTest::Get_TexturePoint_LVERTEX(
    const CIMArk& ark, Single x1, Single y1, Single z1, Single x2, Single y2, Single z2,
    std::span<const D3DLVERTEX> vertices, const HitGeometry& g, const D3DMATRIX& world,
    bool straight, Long rank) {
    const auto screen = ProjectAll(ark, world, vertices, g);
    return Get_TexturePoint_TLVERTEX(ark, x1, y1, z1, x2, y2, z2, screen, g, straight, rank);
}

}  // namespace brumil::render
