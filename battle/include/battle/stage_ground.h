#pragma once
// The stage's pure parts: the per-group tables, the height grid of the
// ground, the land text of one patch, which patches a frame draws, the
// lightning timeline, the stage colours and the music files. No device is
// touched here; BGameStage (battle/b_game_stage.h) draws with them.
//
// The ground is a grid of 211 rows by 36 columns of heights, cut into 30
// patch rows by 5 patch columns of 8 x 8 points that share their edges.
// Patch (row m 0..29, column c -2..2) is board object 5m + 2 + c.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/vb_types.h"

namespace brumil::battle {

inline constexpr Long kGridRows = 211;
inline constexpr Long kGridColumns = 36;
inline constexpr Long kPatchRows = 30;
inline constexpr Long kPatchColumns = 5;
inline constexpr Long kBoardCount = kPatchRows * kPatchColumns;
inline constexpr Long kStageCount = 7;  // stages 0..6

// Camera and lights of one group (positions relative to the travel T).
struct StageView {
    Single eyeHeight;    // vFrom (0, eyeHeight, T)
    Single lookAhead;    // vTo (0, 0, T + lookAhead)
    bool rolls;          // roll = s1 x 0.2
    Single pointAhead;   // light 0 at (0, 0.25, T + pointAhead)
    Single pointColour;  // light 0 colour (v, v, v)
    Single pointParam;   // light 0 parameter
    // Light 1 at (-spotSide, 2, T) facing (spotSide, -1, 2), light 2 at
    // (spotSide, 2, T + 4) facing (-spotSide, -1, -2).
    Single spotSide;
};

// One group of stages: its pictures, the random walk of its heights and its
// speed along the strip. rnd(n) gives 0..n-1; a step is rnd(range) + bias.
struct StageGroup {
    char name;  // 'A', 'B' or 'C'
    std::string_view boardTexture;
    std::string_view secondTexture;
    Long startRange;
    Long rowRange, rowBias;
    Long columnRange, columnBias;
    Long limit;  // heights are held in 0..limit while the walk runs
    Single travelPerStep;
    Long firstRow, lastRow;  // patch rows i drawn per frame
    Long firstColumn, lastColumn;
    Long farthestOffset;  // k = farthestOffset - i without depth testing
    StageView view;
};

// The group of a stage; nullptr outside 0..6.
const StageGroup* StageGroupOf(Long stage);

// Draws rnd(n): 0..n - 1.
using StageRandom = std::function<Long(Long)>;

using HeightRow = std::array<Long, kGridColumns>;
using HeightGrid = std::array<HeightRow, kGridRows>;

// The finished grid: the random walk (one start value, then per row one row
// step and 36 column steps, in that order), smoothing, the loop closure (row
// 0 = row 210) and the flat seam bands along every patch edge.
HeightGrid BuildHeightGrid(const StageGroup& group, const StageRandom& rnd);

// The land generator's text of patch (m, c): the header line, then the eight
// grid rows of the patch, eight heights each, every height after one blank.
std::string PatchLayoutText(const HeightGrid& grid, Long m, Long c);

// Board object of patch (m, c).
constexpr Long BoardIndexOf(Long m, Long c) {
    return 5 * m + 2 + c;
}

// One board of a frame: the object and where it stands.
struct BoardPlacement {
    Long board;
    Long column;  // x
    Long depth;   // z = N + k
};
// The boards of a frame in drawing order: rows farthest first without depth
// testing, nearest first with it; columns left to right within a row.
std::vector<BoardPlacement> BoardDrawOrder(const StageGroup& group, Single travel, bool depthTest);

// The spot lights' pulses: AST(frame x n) / 512 for n = 1, 2, 3, 7.
struct StagePulse {
    Single s1, s2, s3, s7;
};
StagePulse StagePulseAt(Long stageFrame);

// The lightning: 0 idle, 1 waiting, 2 flashing.
struct StageFlash {
    Long Step = 0;
    Long Wait = 0;
    Long Age = 0;
    Single Strength = 0;
    Single DirX = 0, DirY = 0, DirZ = 0;
    Single Peak = 0;
};
inline constexpr Long kFlashLength = 80;

// What the two flash lights show after a step of the timeline.
enum class FlashLights { Off, Lit, Unchanged };
// One drawn frame of the timeline with `stepsDue` logic steps; random
// numbers are drawn in the written order.
FlashLights StepStageFlash(StageFlash& flash, Long stepsDue, const StageRandom& rnd);

// Player p's two stage colours (first = shot colour, second = ring colour).
std::array<Long, 2> StageColorsOf(Long stage, Long player);

// The stage's music file; "" outside 0..6.
std::string_view StageMusicFile(Long stage);

}  // namespace brumil::battle
