#include "picture_cases.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace brumil::datatest {

std::vector<PictureCase> AllPictures() {
    std::vector<PictureCase> v = {
        {"appconfig.bmp", 640, 480, Kind::Opaque},
        {"cursor.bmp", 256, 32, Kind::Light},
        {"pelmor logo w3.bmp", 640, 480, Kind::Opaque},
        {"start.bmp", 640, 480, Kind::Opaque},
        {"start1.bmp", 640, 480, Kind::Opaque},
        {"font64-x13-256x256.bmp", 256, 256, Kind::Alpha},
        {"level.bmp", 640, 480, Kind::Opaque},
        {"select_character1.bmp", 640, 480, Kind::Opaque},
        {"select_character2.bmp", 640, 480, Kind::Alpha},
        {"magic0.bmp", 128, 128, Kind::Light},
        {"magic1.bmp", 128, 128, Kind::Light},
        {"magic2.bmp", 128, 128, Kind::Alpha},
        {"costom256A.bmp", 256, 256, Kind::Light},
        {"costom256B.bmp", 256, 256, Kind::Light},
        {"bitmap128A.bmp", 128, 128, Kind::Keyed},
        {"bitmap128B.bmp", 128, 128, Kind::Keyed},
        {"direct64_niz1.bmp", 64, 64, Kind::Light},
        {"direct64_niz2.bmp", 64, 64, Kind::Light},
        {"256x256_03.bmp", 256, 256, Kind::Alpha},
        {"256x256_04.bmp", 256, 256, Kind::Alpha},
        {"256x256_06.bmp", 256, 256, Kind::Alpha},
        {"terget.bmp", 16, 16, Kind::Keyed},
        {"lifeiconset.bmp", 64, 64, Kind::Alpha},
        {"font_life.bmp", 64, 64, Kind::Alpha},
        {"font_score.bmp", 64, 64, Kind::Alpha},
        {"font_lv.bmp", 64, 64, Kind::Alpha},
        {"font_mp.bmp", 64, 64, Kind::Alpha},
        {"font_scorenumber.bmp", 128, 128, Kind::Alpha},
        {"font_datanumber.bmp", 128, 128, Kind::Alpha},
        {"font_fps.bmp", 32, 32, Kind::Alpha},
        {"font_level.bmp", 64, 128, Kind::Alpha},
        {"gauge.bmp", 64, 64, Kind::Opaque},
        {"magiccircle.bmp", 64, 64, Kind::Alpha},
        {"TheBackScreen.bmp", 640, 480, Kind::Opaque},
        {"WaitNetwork.bmp", 640, 480, Kind::Opaque},
    };
    for (int i = 1; i <= 4; ++i)
        v.push_back({"level" + std::to_string(i) + ".bmp", 640, 480, Kind::Opaque});
    for (int i = 3; i <= 6; ++i)
        v.push_back({"magic" + std::to_string(i) + ".bmp", 256, 256, Kind::Alpha});
    for (int i = 1; i <= 4; ++i)
        v.push_back({"ani" + std::to_string(i) + ".bmp", 256, 256, Kind::Light});
    const char* folders[] = {"chara_none",   "chara_vesna",    "chara_pell",
                             "chara_odrane", "chara_marwenne", "chara_tolka",
                             "chara_brisa",  "chara_gundral",  "chara_emmet"};
    for (const char* f : folders) {
        v.push_back({std::string(f) + "\\images_1.bmp", 420, 420, Kind::Alpha});
        v.push_back({std::string(f) + "\\images_2.bmp", 420, 420, Kind::Alpha});
        if (std::string(f) == "chara_none") continue;
        v.push_back({std::string(f) + "\\chara_0.bmp", 256, 256, Kind::Alpha});
        v.push_back({std::string(f) + "\\chara_1.bmp", 256, 256, Kind::Alpha});
    }
    return v;
}

std::uint32_t Brightest(std::uint32_t p) {
    return std::max({(p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF});
}

void ExpectKind(const image::CmgBBI& pic, const PictureCase& c) {
    const auto px = pic.Pixels();
    const auto clear = std::count_if(px.begin(), px.end(), [](auto p) { return Alpha(p) == 0; });
    const auto seen = std::count_if(px.begin(), px.end(), [](auto p) { return Alpha(p) > 0; });
    switch (c.kind) {
        case Kind::Opaque:
            EXPECT_EQ(clear, 0);
            break;
        case Kind::Alpha:
            EXPECT_GT(seen, 0) << "something is visible";
            if (c.name.find("256x256") == std::string::npos && c.name != "select_character2.bmp") {
                EXPECT_GT(clear, 0) << "real transparency";
            }
            break;
        case Kind::Light:
            EXPECT_GT(seen, 0);
            EXPECT_GT(clear, 0);
            for (auto p : px) ASSERT_EQ(Alpha(p), Brightest(p)) << std::hex << p;
            break;
        case Kind::Keyed: {
            const std::uint32_t key = px[0] & 0xFFFFFF;
            const auto keyed =
                std::count_if(px.begin(), px.end(), [&](auto p) { return (p & 0xFFFFFF) == key; });
            EXPECT_GT(keyed, static_cast<long>(px.size() / 4)) << "the key is the background";
            EXPECT_GT(static_cast<long>(px.size()) - keyed, 16)
                << "foreground differs from the key";
            break;
        }
    }
}

}  // namespace brumil::datatest
