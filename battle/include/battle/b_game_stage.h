#pragma once
// BGameStage: the 3D backdrop of a match. An endless strip of hilly ground
// slides towards the viewer under a moving camera, lit by an ambient colour,
// a darkening point light (light 0), two pulsing spot lights (1 and 2) and
// random lightning (lights 3 and 4). It also starts the stage music.
//
// The battle's match start resets it, the frame job steps it once per logic
// step and the paint job draws it first in every drawn frame, inside the
// open scene with the viewport already set. A stage number outside 0..6
// builds, plays and draws nothing.
//
// The heights and the lightning draw from the stage's own generator, seeded
// at reset, so neither the drawn frames (whose number depends on the frame
// rate) nor the looks of the ground touch a generator of the match.

#include <cstdint>
#include <memory>

#include "battle/stage_ground.h"
#include "core/vb_types.h"
#include "platform/codec/helper_random.h"

namespace brumil::render {
class CIMArkBoard;
}

namespace brumil::battle {

class BGameStage {
public:
    BGameStage();
    ~BGameStage();
    BGameStage(const BGameStage&) = delete;
    BGameStage& operator=(const BGameStage&) = delete;

    Long StageNumber = -1;
    Long StageFrame = 0;
    Single Travel = 0;
    Long BoardTexture = 0;
    Long SecondTexture = 0;
    StageFlash Flash;

    // Stores the stage, seeds the generator, clears frame and travel and
    // builds the 150 ground patches with new heights.
    void Reset(Long stage, std::uint64_t seed);
    // The same with the next seed of this stage object: every match of a run
    // gets new ground, and the same run again gets the same grounds.
    void Reset(Long stage);
    // One logic step: frame count, travel and, at the first step after a
    // reset, the music (volume 0.8, looped).
    void FrameStep();
    // One drawn frame with `stepsDue` logic steps due (the lightning counts
    // logic steps, so its speed does not follow the frame rate).
    void Paint(Long stepsDue);

    // The ground patches; made on first use.
    render::CIMArkBoard& Boards();
    // The grid the last reset built (empty before one or for another stage).
    const HeightGrid& Grid() const { return grid_; }
    // rnd(n) of the stage's generator: 0..n - 1.
    Long StageRnd(Long n);

private:
    void BuildStageBoards();
    void UpdateStageFlash(Long stepsDue, Long lightA, Long lightB, bool reset, bool enable);
    void CameraAndLights(const StageGroup& group);

    std::unique_ptr<render::CIMArkBoard> boards_;
    std::uint64_t resets_ = 0;
    platform::HelperRandom random_;
    HeightGrid grid_{};
};

}  // namespace brumil::battle
