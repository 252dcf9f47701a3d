// The data set as the game reaches it: pictures through the texture cache and
// its search paths, effects through the effect table, stage music through the
// music player.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/texture_search_paths.h"
#include "data_root.h"
#include "picture_cases.h"
#include "platform/base/files.h"
#include "render/admin_lib.h"
#include "render/graphics.h"
#include "render/im_texture.h"
#include "sound/audio36.h"
#include "sound/sound_effects.h"

namespace brumil::datatest {
namespace {

class GameLoaders : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(sound_.Started()); }
    void TearDown() override { sound::ClearSoundEffects(); }
    UseGeneratedRoot root_;
    NullSoundDevice sound_;
};

std::string WithoutBmp(const std::string& name) {
    return name.ends_with(".bmp") ? name.substr(0, name.size() - 4) : name;
}

TEST_F(GameLoaders, TextureCacheFindsEveryPictureThroughItsSearchPaths) {
    render::CIMTexture cache;
    const auto paths = app::TextureSearchPaths(platform::MapPath("\\data").string(),
                                               platform::ListFolder("\\data", true));
    // The data folder and the nine character folders, each with and without ".bmp".
    ASSERT_EQ(paths.size(), 20u);
    for (const auto& p : paths) cache.SearchPathAdd(p.Prefix, p.Suffix);

    for (const PictureCase& c : AllPictures()) {
        // The game asks both with the extension and without it.
        for (const std::string& name : {c.name, WithoutBmp(c.name)}) {
            SCOPED_TRACE(name);
            const Long index = cache.Add(name);
            ASSERT_GE(index, 0);
            EXPECT_TRUE(cache.AddedTexture());
            const auto graphic = cache.Item(index);
            ASSERT_TRUE(graphic);
            ASSERT_EQ(graphic->Image.GetWidth(), c.width) << "loaded, not left empty";
            ASSERT_EQ(graphic->Image.GetHeight(), c.height);
            ExpectKind(graphic->Image, c);
        }
    }
    // A name that is not in the set leaves the empty picture: the check above
    // cannot pass by accident.
    const auto missing = cache.ItemAs("no_such_picture.bmp");
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->Image.GetWidth(), 1);
}

TEST_F(GameLoaders, SearchPathsOfTheProgramFindTheCharacterPictures) {
    // The paths as program start sets them on the shared cache.
    const auto paths = app::SetTextureSearchPaths();
    EXPECT_EQ(paths.size(), 20u);
    auto& cache = render::gIMTexture();
    // Bare names resolve through the character folders too (first in name order).
    const auto sheet = cache.ItemAs("chara_0");
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->Image.GetWidth(), 256);
    const auto portrait = cache.ItemAs("chara_emmet\\images_2");
    ASSERT_TRUE(portrait);
    EXPECT_EQ(portrait->Image.GetWidth(), 420);
    cache.Clear();
}

TEST_F(GameLoaders, EffectTableLoadsEveryEffect) {
    for (Long n = 0; n < sound::kSoundEffectCount; ++n) {
        SCOPED_TRACE(n);
        const auto wav = sound::GetSoundEffect(n);
        ASSERT_TRUE(wav);
        EXPECT_EQ(wav->WaveBit(), 16);
        EXPECT_EQ(wav->WaveHz(), 44100);
        EXPECT_GT(wav->WaveBlocks(), 0) << "loaded, not a silent slot";
        EXPECT_LE(wav->WaveBlocks(), 44100);
        EXPECT_EQ(sound::gSoundEffects().Slot(n), wav.get()) << "kept for the run";
    }
}

TEST_F(GameLoaders, MusicPlayerLoadsEveryStageTune) {
    for (const char* file : {"regos.ogg", "インド風の曲.ogg", "03_abx0002-04rv70.ogg",
                             "ピアノっぽいもの.ogg", "sta1.ogg", "sta2.ogg", "オケダンス.ogg"}) {
        SCOPED_TRACE(file);
        sound::CAudio36 player;
        ASSERT_EQ(player.Load(std::string("\\data\\bgm\\") + file), 0);
        EXPECT_NE(player.PlayerKind(), sound::CAudio36::kNone);
        EXPECT_GE(player.CursorMax(), 20.0);
        EXPECT_LE(player.CursorMax(), 40.0);
    }
    sound::CAudio36 player;
    EXPECT_EQ(player.Load("\\data\\bgm\\no_such_tune.ogg"), 1);
}

}  // namespace
}  // namespace brumil::datatest
