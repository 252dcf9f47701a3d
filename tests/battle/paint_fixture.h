#pragma once
// A battle object with a frame host on a running display, for the painters'
// tests: optionally with the recording device in place of the software one.
// Named solid textures can be put in sprite slots and told apart again by
// their surfaces in the recorded calls.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "battle/b_game.h"
#include "battle/battle_scene.h"
#include "battle/player_record.h"
#include "framework/display.h"
#include "framework/maxwell.h"
#include "platform/base/clock.h"
#include "render/graphics.h"
#include "render/im_texture.h"
#include "render_test_env.h"

namespace brumil::battle::test {

constexpr Long kPx = 256;

inline ShotRecord LiveShot(Long kind, Long xPx, Long yPx) {
    ShotRecord r{};
    r.State = 1;
    r.DrawKind = kind;
    r.X = xPx * kPx;
    r.Y = yPx * kPx;
    r.ScaleX = 128;
    r.ScaleY = 128;
    r.Color = 0xFFFFFF;
    r.Alpha = 255;
    r.Scale = 256;
    r.DrawW = 16 * kPx;
    r.DrawH = 16 * kPx;
    return r;
}

template <typename Base>
class PaintFixtureOf : public Base {
protected:
    void SetUp() override {
        Base::SetUp();
        gGame() = std::make_unique<bGame>(clock);
        framework::gMaxwell() = std::make_unique<framework::CMaxwell>(clock);
        for (Long i = 0; i < 2; ++i) {
            PlayerRecord& p = gPlayers()[static_cast<std::size_t>(i)];
            p = PlayerRecord{};
            p.Index = i;
        }
    }
    void TearDown() override {
        framework::gMaxwell().reset();
        gGame().reset();
        for (auto& p : gPlayers()) p = PlayerRecord{};
        Base::TearDown();
    }

    bGame& Game() { return *gGame(); }
    PlayerRecord& P(Long i) { return gPlayers()[static_cast<std::size_t>(i)]; }
    BattleScene& Scene() { return SceneOf(Game()); }

    // A solid 8 x 8 picture in the cache under `name`, its index.
    Long SolidTexture(const std::string& name, Long argb = static_cast<Long>(0xFFFFFFFF)) {
        auto& cache = render::gIMTexture();
        const Long index = cache.Add(name);
        auto g = cache.Item(index);
        g->Add(8, 8, true);
        for (Long y = 0; y < 8; ++y) {
            for (Long x = 0; x < 8; ++x) g->Image.dwSetPixel(x, y, argb);
        }
        g->Refresh();
        named_[name] = g;
        return index;
    }
    // Puts a named texture in slot k of player p.
    void Slot(Long p, Long k, const std::string& name, Long blend = 0) {
        P(p).SpriteTexture[static_cast<std::size_t>(k)] = SolidTexture(name);
        P(p).SpriteBlend[static_cast<std::size_t>(k)] = blend;
    }
    // The name of the texture bound by a recorded SetTexture; "?" for others.
    std::string NameOf(const platform::Surface* surface) const {
        for (const auto& [name, g] : named_) {
            if (g->Surface && g->Surface.get() == surface) return name;
        }
        return "?";
    }

    platform::ManualClock clock{5'000'000};

private:
    std::map<std::string, std::shared_ptr<render::CGraphics>> named_;
};

}  // namespace brumil::battle::test
