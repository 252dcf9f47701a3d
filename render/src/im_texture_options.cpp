// CIMTexture: the "?" names, which generate a picture or post-process a
// loaded one.

#include "core/api.h"
#include "core/text.h"
#include "render/graphics.h"
#include "render/im_texture.h"
#include "render/texture_generators.h"

namespace brumil::render {

namespace {

struct PostProcess {
    Long divisor = 1;
    bool chooseCA = false;
    bool vivit = false;
    bool antiAreas = false;
};

// Generator words: size and, for the grid, cells a side (32-pixel cells).
struct Generator {
    std::string_view word;
    bool stage;
    Long size;
    Long cells;
};
constexpr Generator kGenerators[] = {
    {"alpha128x128", false, 128, 0}, {"alpha256x256", false, 256, 0},
    {"alpha512x512", false, 512, 0}, {"stage128x128", true, 128, 4},
    {"stage256x256", true, 256, 8},  {"stage512x512", true, 512, 16},
};
constexpr Long kSpotRadius = 48;

}  // namespace

Long CIMTexture::AddOptionTexture(Long index, std::string options) {
    auto& api = core::gApi();
    const auto graphic = Item(index);
    PostProcess post;
    bool nextIsFile = false;
    while (!options.empty()) {
        const std::string word = api.Divide(options, ":");
        const std::string lower = core::LowerAscii(word);
        bool isFile = nextIsFile;
        nextIsFile = false;
        if (!isFile) {
            bool matched = true;
            if (lower.empty()) {
                nextIsFile = true;
            } else if (lower == "div2" || lower == "div4" || lower == "div8") {
                post.divisor = lower[3] - '0';
            } else if (lower == "ca") {
                post.chooseCA = true;
            } else if (lower == "v0" || lower == "vivit0") {
                post.vivit = true;
            } else if (lower == "aa" || lower == "antiareas") {
                post.antiAreas = true;
            } else {
                matched = false;
                for (const auto& g : kGenerators) {
                    if (lower != g.word) continue;
                    matched = true;
                    if (g.stage) {
                        CreateStageTexture(*graphic, g.size, g.cells);
                    } else {
                        CreateAlphaTexture(*graphic, g.size, kSpotRadius);
                    }
                }
            }
            isFile = !matched;
        }
        if (!isFile) continue;
        // A file that does not load lets later words serve as fallbacks.
        if (LoadTextureFromSearchPath(index, word) != 0) continue;
        if (post.antiAreas) graphic->ChooseColorKeyAntiAreas2();
        graphic->ChooseScale(1, post.divisor);
        if (post.chooseCA) graphic->ChooseCA(0, 0);
        if (post.vivit) graphic->ChooseVivit(0);
        break;
    }
    return 0;
}

}  // namespace brumil::render
