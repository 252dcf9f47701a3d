#include "frontend/level_select.h"

#include <array>
#include <memory>

#include "battle/b_game.h"
#include "battle/system_save_record.h"
#include "frontend/application_config.h"
#include "frontend/job_numbers.h"
#include "frontend/screen_host.h"
#include "frontend/screen_parts.h"
#include "frontend/view.h"
#include "image/cmg_bbi_function.h"

namespace brumil::frontend {
namespace {

constexpr Long kPictureEntry = 0;
constexpr Long kCursorEntry = 1;
constexpr Long kEntryCount = 2;

struct LevelLine {
    const char* line;
    Long colour;
};
constexpr std::array<LevelLine, 6> kLevelLines{{
    {"  0,228, 85,360, 60,1,Easy", 0x403060},
    {"  1,228,152,360, 60,1,Normal", 0x505050},
    {"  2,228,219,360, 60,1,Hard", 0x607040},
    {"  3,228,286,360, 60,1,Factastic", 0x709030},
    {"  4,228,353,360, 60,1,Madness", 0x80B020},
    {"  5,228,420,360, 60,1,Apocalypse", 0x10D010},
}};
constexpr std::array<Long, 3> kLabelHeights{350, 415, 480};

// The bar reaches 300 pixels past the item on each side.
constexpr Long kCursorWiden = 300;
// The fade starts a third of the way in and is a soft wipe.
constexpr Long kFadeLead = 20;
constexpr Long kFadeSpan = 60;
constexpr Single kFadeSoftness = 0.1f;
constexpr std::string_view kMaskScript = "[box 640,480,024,246,468]";

image::CmgBBIFunction& Fx() {
    return image::gBBIFunction();
}

class LevelSelect {
public:
    LevelSelect(ApplicationConfig& app, ScreenHost& host, Long job)
        : app_(app), host_(host), st_(app.State), job_(job) {}

    // LevelLeaving is cleared only by a first begin: once a level was chosen
    // every activation (also after a dialog) rebuilds the screen.
    void Begin(bool again) {
        if (!again) st_.LevelLeaving = false;
        FitScaledPicture(st_.LevelScaled, host_.GetDrawScale());
        app_.CurrentView = std::make_unique<CView>(host_.FrameHost());
        CView& view = *app_.CurrentView;
        view.InterfaceReset(0);
        view.Layer()->Resize(kScreenWidth, kScreenHeight, kEntryCount);
        CLayerObject picture = Entry(view, kPictureEntry);

        st_.LevelFrom.CreateBBI(kScreenWidth, kScreenHeight);
        Fx().BBIExpandBlt(st_.LevelFrom, app_.WorkPicture, 0, 0, kScreenWidth, kScreenHeight, 0, 0,
                          app_.WorkPicture.GetWidth(), app_.WorkPicture.GetHeight(), 1.0f);
        st_.LevelCurrent.CreateBBI(kScreenWidth, kScreenHeight);
        st_.LevelTo.CreateBBI(kScreenWidth, kScreenHeight);
        Fx().BBIBlt(st_.LevelTo, *host_.TexturePicture(LevelBackground(job_)), 0, 0, 0, 0, 0, 0,
                    1.0f);
        Fx().Transer(st_.LevelCurrent, kMaskScript);
        Fx().BBIBlt(st_.LevelCurrent, st_.LevelTo, 0, 0, 0, 0, 0, 0, 0.5f);

        const Long permit = battle::gSystemSave().Permit;
        view.SettingClear();
        for (Long i = 0; i < LevelItemCount(permit); ++i) {
            view.Setting(kLevelLines[static_cast<std::size_t>(i)].line);
        }
        // Only the offered levels' labels: the locked ones stay hidden.
        Fx().BBIBltMul(st_.LevelTo, *host_.TexturePicture("level.bmp"), 0, 0, kScreenWidth,
                       LevelLabelHeight(permit), 0, 0);
        Fx().BBIChooseCA(st_.LevelTo, st_.LevelCurrent, 2, 0);
        view.Blt(picture, st_.LevelTo, 0, 0, {}, {}, 0, 0);

        st_.LevelStep = 0;
        st_.LevelFrame = 0;
        DrawLevelCursor(app_);
    }

    void End() {
        st_.LevelTo = image::CmgBBI();
        st_.LevelFrom = image::CmgBBI();
        st_.LevelCurrent = image::CmgBBI();
        st_.LevelScaled.reset();
    }

    void Step() {
        if (!app_.CurrentView) return;
        CView& view = *app_.CurrentView;
        Long result = 0;
        view.InterfaceMouseClick(result, true);
        view.InterfaceKeyboard(result, false, true);
        view.InterfaceVKey(result, 0, false, true);
        view.InterfaceVKey(result, 1, false, true);

        if ((result & kViewCancel) != 0) {
            KeepLastFrame(app_);
            app_.Job().Remove(ApplicationConfig::Key(job_));
            host_.PlayMenuSound(3);
            return;
        }
        bool ended = false;
        switch (st_.LevelStep) {
            case 0:
                ++st_.LevelFrame;
                if (host_.PaintDisable()) break;
                ended = st_.LevelFrame >= kLevelFadeSteps;
                FadeStep(host_, st_.LevelCurrent, st_.LevelScaled, st_.LevelFrom, st_.LevelTo,
                         FadeProgress(st_.LevelFrame + kFadeLead, kFadeSpan), kFadeSoftness);
                break;
            case 1:
                view.Paint();
                ended = true;
                DrawLevelCursor(app_);
                break;
            default:
                Menu(view, result);
                break;
        }
        if (ended) {
            ++st_.LevelStep;
            st_.LevelFrame = 0;
        }
    }

private:
    void Menu(CView& view, Long result) {
        if ((result & kViewItemChanged) != 0) {
            DrawLevelCursor(app_);
            if (view.InterfaceCursor() >= 0) host_.PlayMenuSound(4);
        }
        const Long item = view.InterfaceCursor();
        if ((result & kViewAccept) != 0 && item >= 0) {
            host_.PlayMenuSound(1);
            KeepLastFrame(app_);
            if (auto& game = battle::gGame()) game->gd().AILevel = item + 1;
            app_.Job().Add(ApplicationConfig::Key(job_ + 1), kJobKindModal);
            st_.LevelLeaving = true;
        }
        view.Paint();
    }

    ApplicationConfig& app_;
    ScreenHost& host_;
    ScreenState& st_;
    Long job_;
};

}  // namespace

std::string_view LevelBackground(Long job) {
    switch (job) {
        case kArcadeLevelJob:
            return "level1.bmp";
        case kFreeFightLevelJob:
            return "level2.bmp";
        case kVersusLevelJob:
            return "level3.bmp";
        case kNetworkLevelJob:
            return "level4.bmp";
        default:
            return "";
    }
}

Long LevelItemCount(Long permit) {
    if (permit >= 6) return 6;
    return permit >= 5 ? 5 : 4;
}

Long LevelLabelHeight(Long permit) {
    return kLabelHeights[static_cast<std::size_t>(LevelItemCount(permit) - 4)];
}

Long LevelCursorColour(Long item) {
    if (item < 0 || item >= static_cast<Long>(kLevelLines.size())) return -1;
    return kLevelLines[static_cast<std::size_t>(item)].colour;
}

void DrawLevelCursor(ApplicationConfig& app) {
    if (!app.CurrentView || app.Screens == nullptr) return;
    CView& view = *app.CurrentView;
    DrawBarCursor(view, *app.Screens, kCursorEntry, kCursorWiden);
    const Long colour = LevelCursorColour(view.InterfaceCursor());
    if (colour < 0) return;
    if (CLayerConfig* c = Entry(view, kCursorEntry).Config()) {
        c->Add(0.2f, 0, -1, 1.0f, colour, 0xFFFFFF, 0, -1, 0);
    }
}

void LevelSelectJob(ApplicationConfig& app, Long job, Long message, Long) {
    if (app.Screens == nullptr || LevelBackground(job).empty()) return;
    LevelSelect screen(app, *app.Screens, job);
    switch (message) {
        case framework::kJobMessageBegin:
            screen.Begin(false);
            break;
        case framework::kJobMessageActivated:
            if (app.State.LevelLeaving) screen.Begin(true);
            break;
        case framework::kJobMessageEnd:
            screen.End();
            break;
        case framework::kJobMessageStep:
            screen.Step();
            break;
        default:
            break;
    }
}

}  // namespace brumil::frontend
