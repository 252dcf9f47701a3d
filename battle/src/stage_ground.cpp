#include "battle/stage_ground.h"

#include <algorithm>
#include <cmath>

#include "platform/collision/angle_math.h"

namespace brumil::battle {
namespace {

constexpr StageGroup kGroupA{'A',
                             "256x256_04",
                             "256x256_03",
                             40,
                             20,
                             -10,
                             10,
                             -5,
                             40,
                             0.005f,
                             1,
                             5,
                             -2,
                             2,
                             6,
                             {2.0f, 2.0f, false, 2.0f, -0.2f, 0.75f, 0.0f}};
constexpr StageGroup kGroupB{'B',
                             "256x256_03",
                             "256x256_03",
                             4,
                             2,
                             -1,
                             1,
                             0,
                             4,
                             0.015f,
                             0,
                             4,
                             -1,
                             1,
                             4,
                             {2.5f, 1.5f, false, 1.5f, -0.5f, 1.0f, 0.0f}};
constexpr StageGroup kGroupC{'C',
                             "256x256_06.bmp",
                             "256x256_06.bmp",
                             15,
                             7,
                             -3,
                             3,
                             -1,
                             15,
                             0.007f,
                             0,
                             4,
                             -1,
                             1,
                             4,
                             {2.2f, 1.2f, true, 1.5f, -0.5f, 1.0f, 2.0f}};

// The strip repeats every 30 patch rows; this offset keeps the modulo of
// the row count positive for any travel a match can reach.
constexpr std::int64_t kRowBase = 268435456;

// Patch edges: every 7th grid row or column starting at 0.
constexpr Long kPatchStep = 7;

Long Step(const StageRandom& rnd, Long range, Long bias) {
    return rnd(range) + bias;
}

void Smooth(HeightGrid& g) {
    for (Long r = 1; r <= kGridRows - 2; ++r) {
        for (Long c = 1; c <= kGridColumns - 2; ++c) {
            const auto ri = static_cast<std::size_t>(r);
            const auto ci = static_cast<std::size_t>(c);
            const Long sum =
                g[ri + 1][ci] + g[ri - 1][ci] + g[ri][ci + 1] + g[ri][ci - 1] + g[ri][ci];
            g[ri][ci] = RoundToLong(static_cast<double>(sum) / 5.0);
        }
    }
}

void FlattenSeams(HeightGrid& g) {
    for (Long r = 1; r < kGridRows; r += kPatchStep) {
        g[static_cast<std::size_t>(r)] = g[static_cast<std::size_t>(r - 1)];
    }
    for (Long r = kPatchStep - 1; r < kGridRows - 1; r += kPatchStep) {
        g[static_cast<std::size_t>(r)] = g[static_cast<std::size_t>(r + 1)];
    }
    for (HeightRow& row : g) {
        for (Long c = 1; c < kGridColumns; c += kPatchStep) {
            row[static_cast<std::size_t>(c)] = row[static_cast<std::size_t>(c - 1)];
        }
        for (Long c = kPatchStep - 1; c < kGridColumns - 1; c += kPatchStep) {
            row[static_cast<std::size_t>(c)] = row[static_cast<std::size_t>(c + 1)];
        }
    }
}

}  // namespace

const StageGroup* StageGroupOf(Long stage) {
    switch (stage) {
        case 0:
        case 4:
            return &kGroupA;
        case 1:
        case 5:
            return &kGroupB;
        case 2:
        case 3:
        case 6:
            return &kGroupC;
        default:
            return nullptr;
    }
}

HeightGrid BuildHeightGrid(const StageGroup& group, const StageRandom& rnd) {
    HeightGrid grid{};
    Long h = rnd(group.startRange);
    for (HeightRow& row : grid) {
        h += Step(rnd, group.rowRange, group.rowBias);
        Long v = h;
        for (Long& cell : row) {
            v += Step(rnd, group.columnRange, group.columnBias);
            v = std::clamp<Long>(v, 0, group.limit);
            cell = v;
        }
    }
    Smooth(grid);
    grid[0] = grid[static_cast<std::size_t>(kGridRows - 1)];
    FlattenSeams(grid);
    return grid;
}

std::string PatchLayoutText(const HeightGrid& grid, Long m, Long c) {
    std::string text = "f7 w0 1 2 3 4 5 6 7 h0 1 2 3 4 5 6 7 f80 a\r\n";
    const Long row0 = kPatchStep * m;
    const Long column0 = kPatchStep * (c + 2);
    for (Long r = row0; r <= row0 + kPatchStep; ++r) {
        for (Long k = column0; k <= column0 + kPatchStep; ++k) {
            text += ' ';
            text += std::to_string(grid[static_cast<std::size_t>(r)][static_cast<std::size_t>(k)]);
        }
        text += "\r\n";
    }
    return text;
}

std::vector<BoardPlacement> BoardDrawOrder(const StageGroup& group, Single travel, bool depthTest) {
    const auto n = static_cast<std::int64_t>(std::floor(travel));
    std::vector<BoardPlacement> out;
    for (Long i = group.firstRow; i <= group.lastRow; ++i) {
        const Long k = depthTest ? i : group.farthestOffset - i;
        const auto row =
            static_cast<Long>(((kRowBase - n - k) % kPatchRows + kPatchRows) % kPatchRows);
        for (Long c = group.firstColumn; c <= group.lastColumn; ++c) {
            out.push_back({row * kPatchColumns + 2 + c, c, static_cast<Long>(n + k)});
        }
    }
    return out;
}

StagePulse StagePulseAt(Long stageFrame) {
    const auto pulse = [stageFrame](Long n) {
        return static_cast<Single>(platform::collision::AST(stageFrame * n)) / 512.0f;
    };
    return {pulse(1), pulse(2), pulse(3), pulse(7)};
}

FlashLights StepStageFlash(StageFlash& flash, Long stepsDue, const StageRandom& rnd) {
    switch (flash.Step) {
        case 0:
            flash.Step = 1;
            flash.Wait = rnd(150) + 30;
            flash.Age = 0;
            return FlashLights::Unchanged;
        case 1:
            flash.Wait -= stepsDue;
            if (flash.Wait < 0) {
                flash.Step = 2;
                flash.DirX = static_cast<Single>(rnd(4000)) / 1000.0f - 2.0f;
                flash.DirY = -0.2f - static_cast<Single>(rnd(1000)) / 1000.0f;
                flash.DirZ = static_cast<Single>(rnd(4000)) / 1000.0f - 2.0f;
                flash.Peak = static_cast<Single>(rnd(3000)) / 1000.0f + 1.0f;
            }
            return FlashLights::Unchanged;
        case 2:
            flash.Age += stepsDue;
            if (flash.Age > kFlashLength) {
                flash.Step = 0;
                return FlashLights::Off;
            }
            flash.Strength = (1.0f - static_cast<Single>(flash.Age) / kFlashLength) * flash.Peak;
            return FlashLights::Lit;
        default:
            return FlashLights::Unchanged;
    }
}

std::array<Long, 2> StageColorsOf(Long stage, Long player) {
    const bool second = player == 1;
    switch (stage) {
        case 1:
        case 5:
            return second ? std::array<Long, 2>{Long(0xFF686800), Long(0xFFA0A000)}
                          : std::array<Long, 2>{Long(0xFF780078), Long(0xFF903090)};
        case 2:
            return second ? std::array<Long, 2>{Long(0xFF904000), Long(0xFF904000)}
                          : std::array<Long, 2>{Long(0xFF007832), Long(0xFF007832)};
        default:
            return second ? std::array<Long, 2>{Long(0xFF980000), Long(0xFFA02000)}
                          : std::array<Long, 2>{Long(0xFF000078), Long(0xFF003090)};
    }
}

std::string_view StageMusicFile(Long stage) {
    switch (stage) {
        case 0:
            return "\\data\\bgm\\regos.ogg";
        case 1:
            return "\\data\\bgm\\インド風の曲.ogg";
        case 2:
            return "\\data\\bgm\\03_abx0002-04rv70.ogg";
        case 3:
            return "\\data\\bgm\\ピアノっぽいもの.ogg";
        case 4:
            return "\\data\\bgm\\sta1.ogg";
        case 5:
            return "\\data\\bgm\\sta2.ogg";
        case 6:
            return "\\data\\bgm\\オケダンス.ogg";
        default:
            return "";
    }
}

}  // namespace brumil::battle
