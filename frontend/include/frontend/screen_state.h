#pragma once
// The state that the front end's screens keep between their steps. Each job
// uses only its own fields and resets them when it begins (message 1).
//
// Fields are grouped by job in job order; screens that land later add their
// own group behind the last one. Times are values of the 32-bit millisecond
// clock and are compared only through platform::DeadlinePassed, which stays
// right across the clock's wrap.

#include <array>
#include <memory>
#include <optional>

#include "core/vb_types.h"
#include "framework/key_assign.h"
#include "frontend/quadefects.h"
#include "image/cmg_bbi.h"
#include "net/net_player_record.h"
#include "platform/base/clock.h"

namespace brumil::frontend {

struct ScreenState {
    // Job 1, key set-up screen.
    Long RenderLevel = 0;    // render level when the screen was last built
    Long JoystickCount = 0;  // joystick count when the screen was last built
    // The first two players' assignment records when the screen was built.
    std::array<framework::KeyAssignRecord, 2> KeyRecord{};
    Long Page = 0;  // controller page on show: 0 controller 1, 1 controller 2
    platform::Millis NextJoystickScan = 0;  // when the joysticks are counted again

    // Job 2, menu ticker.
    Long MenuRenderLevel = 0;  // render level when the window menu was last refreshed

    // Jobs 5 and 6, settings dialogs.
    bool DialogShown = false;
    bool DialogLeftFullScreen = false;  // switched to a window; switch back at the end

    // Jobs 3 and 4, network set-up and link.
    bool NetLeftFullScreen = false;
    Long NetStep = 0;  // steps since job 3 began
    bool LogHidden = false;
    net::NetPlayerRecord LastSent;  // the own record when input was last sent

    // Job 8, closing transition.
    Long TransFrame = 0;                // frames drawn so far; -1 before the first step
    platform::Millis TransTimeout = 0;  // when the transition is cut short
    std::unique_ptr<CQuadefects> Quad;  // the tile transition; dropped when the job ends

    // Job 10, logo sequence.
    Long LogoStep = 0;   // 0, 1, 2; 6 or more ends it
    Long LogoFrame = 0;  // logic steps spent in the current logo step
    // The picture on show resized to the drawing scale; made only while that
    // scale is not 1.0.
    std::optional<image::CmgBBI> ScaledPicture;
    image::CmgBBI CurrentPicture;
    image::CmgBBI FromPicture;
    image::CmgBBI ToPicture;
    image::CmgBBI MaskPicture;

    // Job 11, title screen.
    Long TitleStep = 0;   // 0 first fade, 1 second fade, 2 first paint of the menu, 3 menu runs
    Long TitleFrame = 0;  // logic steps counted in the current step
    Long TitleFadeFrames = 80;  // length of the second fade: 80, or 20 after a return
    // An item 0 to 3 was chosen: the screen rebuilds itself when it becomes
    // active again.
    bool TitleLeaving = false;
    std::optional<image::CmgBBI> TitleScaled;  // made only while the scale is not 1.0
    image::CmgBBI TitleCurrent;                // on show during the fades
    image::CmgBBI TitleFrom;                   // the previous screen's last frame
    image::CmgBBI TitleMiddle;                 // "start" after its colour selection
    image::CmgBBI TitleTo;                     // the finished title picture
    // The glyph atlas of the captions while they are laid out and typed.
    std::shared_ptr<const image::CmgBBI> TitleAtlas;

    // Jobs 12, 14, 16, 18, level select.
    Long LevelStep = 0;                        // 0 fade in, 1 first paint of the menu, 2 menu runs
    Long LevelFrame = 0;                       // logic steps counted in the current step
    std::optional<image::CmgBBI> LevelScaled;  // made only while the scale is not 1.0
    image::CmgBBI LevelCurrent;                // the transition mask, then the fade on show
    image::CmgBBI LevelFrom;                   // the title's last frame
    image::CmgBBI LevelTo;                     // the finished level picture
    bool LevelLeaving = false;                 // a level was chosen; rebuild when active again

    // Jobs 13, 15, 17, 19, character select.
    Long CharaStep = 0;  // 0 slide-in, 1 first paint, 2 choosing, 3 loading notice, 4 hand-over
    Long CharaFrame = 0;
    bool CharaLeaving = false;  // handed over; rebuild when active again
    Long CharaCursor1 = 0;      // slot of the first cursor (player 0's character)
    Long CharaCursor2 = 0;      // slot of the second cursor (player 1's character)
    Long CharaDecided1 = 0;     // 1 when the first pick is fixed
    Long CharaDecided2 = 0;     // 1 when the second pick is fixed

    // Job 20, battle start. True while a modal job above it suspended a
    // battle that held its input records: only then does the reactivation
    // give records back. A suspension before the match start finds nothing
    // held, and its reactivation leaves the match start to run as usual.
    bool BattleHeldInput = false;

    // Job 21, continue screen and match sequence.
    Long EnemyIndex = 0;     // position in EnemyOrder of the next opponent; -1 ends the run
    Long ContinueShown = 0;  // 1 while the continue question is built and on show
    std::array<Long, 4> EnemyOrder{};  // the arcade's opponents in the order they are met
    std::shared_ptr<const image::CmgBBI> ContinueAtlas;
};

}  // namespace brumil::frontend
