// Colour keys: keying to transparent, edge softening and colour bleeding.

#include <algorithm>
#include <vector>

#include "image/cmg_bbi_function.h"
#include "platform/pixel/pixel_kernels.h"

namespace brumil::image {

namespace px = platform::pixel;

namespace {

constexpr int kNeighbourX[8] = {-1, 0, 1, -1, 1, -1, 0, 1};
constexpr int kNeighbourY[8] = {-1, -1, -1, 0, 0, 1, 1, 1};

// Mean colour of the neighbours that satisfy `take`, and how many there were.
template <typename Pred>
int NeighbourMean(const CmgBBI& pic, Long x, Long y, Pred&& take, px::Pixel& mean) {
    int count = 0, r = 0, g = 0, b = 0;
    for (int k = 0; k < 8; ++k) {
        const Long nx = x + kNeighbourX[k];
        const Long ny = y + kNeighbourY[k];
        if (nx < 0 || ny < 0 || nx >= pic.GetWidth() || ny >= pic.GetHeight()) continue;
        const px::Pixel p = pic.Row(ny)[nx];
        if (!take(p)) continue;
        ++count;
        r += px::Red(p);
        g += px::Green(p);
        b += px::Blue(p);
    }
    if (count > 0)
        mean = px::MakeArgb(0, (r + count / 2) / count, (g + count / 2) / count,
                            (b + count / 2) / count);
    return count;
}

}  // namespace

void CmgBBIFunction::BBIKeying(CmgBBI& dst, Long colorkey) {
    const px::Pixel key = static_cast<px::Pixel>(colorkey) & 0x00FFFFFFu;
    for (px::Pixel& p : dst.Pixels())
        if ((p & 0x00FFFFFFu) == key) p = 0;
}

void CmgBBIFunction::BBIKeyingFilter(CmgBBI& dst) {
    const CmgBBI before = dst;
    auto visible = [](px::Pixel p) { return px::Alpha(p) != 0; };
    for (Long y = 0; y < dst.GetHeight(); ++y) {
        px::Pixel* row = dst.Row(y);
        for (Long x = 0; x < dst.GetWidth(); ++x) {
            if (px::Alpha(row[x]) != 0) continue;
            px::Pixel mean = 0;
            if (NeighbourMean(before, x, y, visible, mean) > 0) row[x] = mean;
        }
    }
}

void CmgBBIFunction::BBIKeyingAntiAreas(CmgBBI& dst, Long colorkey, bool inEdge, bool outEdge,
                                        Long maxEdge) {
    const px::Pixel key = static_cast<px::Pixel>(colorkey) & 0x00FFFFFFu;
    // Which pixels the key removes, decided on the picture as it was.
    const Long w = dst.GetWidth();
    const Long h = dst.GetHeight();
    std::vector<std::uint8_t> keyed(static_cast<std::size_t>(w) * h, 0);
    for (Long y = 0; y < h; ++y)
        for (Long x = 0; x < w; ++x)
            keyed[static_cast<std::size_t>(y) * w + x] = (dst.Row(y)[x] & 0x00FFFFFFu) == key;
    BBIKeying(dst, colorkey);
    const CmgBBI before = dst;
    const int outAlpha = std::clamp<Long>(maxEdge, 0, 255);
    auto isKeyed = [&](Long x, Long y) {
        return x >= 0 && y >= 0 && x < w && y < h && keyed[static_cast<std::size_t>(y) * w + x];
    };
    for (Long y = 0; y < h; ++y) {
        px::Pixel* row = dst.Row(y);
        for (Long x = 0; x < w; ++x) {
            int keyedNeighbours = 0, keptNeighbours = 0;
            for (int k = 0; k < 8; ++k) {
                const Long nx = x + kNeighbourX[k];
                const Long ny = y + kNeighbourY[k];
                if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
                if (isKeyed(nx, ny))
                    ++keyedNeighbours;
                else
                    ++keptNeighbours;
            }
            if (!isKeyed(x, y)) {
                if (inEdge && keyedNeighbours > 0) {
                    const int a = px::Alpha(row[x]) * (16 - keyedNeighbours) / 16;
                    row[x] = (row[x] & 0x00FFFFFFu) | (static_cast<px::Pixel>(a) << 24);
                }
            } else if (outEdge && keptNeighbours > 0) {
                int r = 0, g = 0, b = 0, c = 0;
                for (int k = 0; k < 8; ++k) {
                    const Long nx = x + kNeighbourX[k];
                    const Long ny = y + kNeighbourY[k];
                    if (nx < 0 || ny < 0 || nx >= w || ny >= h || isKeyed(nx, ny)) continue;
                    const px::Pixel p = before.Row(ny)[nx];
                    r += px::Red(p);
                    g += px::Green(p);
                    b += px::Blue(p);
                    ++c;
                }
                const int a = outAlpha * keptNeighbours / 8;
                row[x] = px::MakeArgb(a, (r + c / 2) / c, (g + c / 2) / c, (b + c / 2) / c);
            }
        }
    }
}

}  // namespace brumil::image
