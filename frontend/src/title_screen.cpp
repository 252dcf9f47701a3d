#include "frontend/title_screen.h"

#include <memory>

#include "battle/b_game.h"
#include "frontend/application_config.h"
#include "frontend/job_numbers.h"
#include "frontend/screen_host.h"
#include "frontend/screen_parts.h"
#include "frontend/view.h"
#include "image/cmg_bbi_function.h"

namespace brumil::frontend {
namespace {

// Layer entries.
constexpr Long kPictureEntry = 0;
constexpr Long kCursorEntry = 1;
constexpr Long kShadowEntry = 2;
constexpr Long kCaptionEntry = 3;
constexpr Long kEntryCount = 4;

constexpr const char* kMenuLines[] = {
    "  0,180,230,280, 25,1,Start Game", "  1,180,260,280, 25,1,Free Fight 1P vs CP",
    "  2,180,290,280, 25,1,1P vs 2P",   "  3,180,320,280, 25,1,1P vs Net",
    "  4,180,350,280, 25,1,End",
};

// The bar reaches 180 pixels past the item on each side: x 0, width 640.
constexpr Long kCursorWiden = 180;
constexpr Single kFadeSoftness = 1000.0f;
constexpr Long kCaptionFontSize = 32;
constexpr Long kShadowBlur = 8;
constexpr Long kCaptionCharSpace = -4;
constexpr Single kCaptionTextWait = 8.0f;

image::CmgBBIFunction& Fx() {
    return image::gBBIFunction();
}

void SetCaptionStyle(CLayerConfig& c, Long colour, Long offset, Long blur) {
    CLayerConfig::TextLayout layout;
    layout.X = offset;
    layout.Y = offset;
    layout.CharSpace = kCaptionCharSpace;
    layout.AlignH = 1;
    layout.AlignV = 1;
    layout.TextWait = kCaptionTextWait;
    c.AddText(colour, 1.0f, 0, layout);
    c.AddFont(kCaptionFontSize, "ＭＳ ゴシック", blur, true);
}

class Title {
public:
    Title(ApplicationConfig& app, ScreenHost& host) : app_(app), host_(host), st_(app.State) {}

    void Begin(bool returning) {
        FitScaledPicture(st_.TitleScaled, host_.GetDrawScale());
        app_.CurrentView = std::make_unique<CView>(host_.FrameHost());
        CView& view = *app_.CurrentView;
        view.InterfaceReset(0);
        view.Layer()->Resize(kScreenWidth, kScreenHeight, kEntryCount);
        CLayerObject picture = Entry(view, kPictureEntry);
        CLayerObject shadow = Entry(view, kShadowEntry);
        CLayerObject captions = Entry(view, kCaptionEntry);

        st_.TitleAtlas = MakeCaptionAtlas(host_);
        {
            GlyphAtlasScope atlas(st_.TitleAtlas);
            view.SettingClear();
            for (const char* line : kMenuLines) view.Setting(line);
            SetCaptionStyle(*shadow.Config(), 0x304010, 1, kShadowBlur);
            view.DrawText(shadow);
            SetCaptionStyle(*captions.Config(), 0xFFFFFF, 0, 0);
            view.DrawText(captions);
        }

        st_.TitleFrom.CreateBBI(kScreenWidth, kScreenHeight);
        Fx().BBIBlt(st_.TitleFrom, app_.WorkPicture, 0, 0, 0, 0, 0, 0, 1.0f);
        st_.TitleMiddle.CreateBBI(kScreenWidth, kScreenHeight);
        st_.TitleTo.CreateBBI(kScreenWidth, kScreenHeight);
        Fx().BBIBlt(st_.TitleMiddle, *host_.TexturePicture("start"), 0, 0, 0, 0, 0, 0, 1.0f);
        // Lifts every colour channel by 0x10 (added under full opacity).
        const image::CmgBBI start = st_.TitleMiddle;
        Fx().BBIExpandChooseBlt(st_.TitleMiddle, start, 0, 0, kScreenWidth, kScreenHeight, 0, 0,
                                start.GetWidth(), start.GetHeight(), 1.0f, 0, -1, 0, 0, 1.0f, 0,
                                0xFFFFFF, 0, 0, 0x101010, 0);
        Fx().BBIBlt(st_.TitleTo, st_.TitleMiddle, 0, 0, 0, 0, 0, 0, 1.0f);
        Fx().BBIBltMul(st_.TitleTo, *host_.TexturePicture("start1"), 0, 0);
        view.Blt(picture, st_.TitleTo, 0, 0, {}, {}, 0, 0);

        st_.TitleStep = 0;
        st_.TitleFrame = 0;
        st_.TitleFadeFrames = kTitleFadeSteps;
        st_.TitleLeaving = false;
        st_.TitleCurrent.CreateBBI(kScreenWidth, kScreenHeight);
        if (returning) {
            Fx().BBIBlt(st_.TitleMiddle, st_.TitleFrom, 0, 0, 0, 0, 0, 0, 1.0f);
            st_.TitleStep = 1;
            st_.TitleFadeFrames = kTitleReturnFadeSteps;
        }
        if (app_.TitleMode >= 1 && app_.TitleMode <= 6) view.InterfaceReset(app_.TitleMode - 1);
    }

    void End() {
        st_.TitleTo = image::CmgBBI();
        st_.TitleMiddle = image::CmgBBI();
        st_.TitleFrom = image::CmgBBI();
        st_.TitleCurrent = image::CmgBBI();
        st_.TitleScaled.reset();
        st_.TitleAtlas.reset();
    }

    void Step() {
        if (!app_.CurrentView) return;
        CView& view = *app_.CurrentView;
        Long result = 0;
        Long chooser = 0;
        view.InterfaceMouseClick(result, true);
        view.InterfaceKeyboard(result, false, true);
        view.InterfaceVKey(result, 0, false, true);
        if ((result & kViewAccept) != 0) chooser = 1;
        view.InterfaceVKey(result, 1, false, true);
        if ((result & kViewAccept) != 0 && chooser == 0) chooser = 2;

        // A press during the fades shows the menu at once and chooses nothing.
        if ((result & (kViewAccept | kViewCancel)) != 0 && st_.TitleStep < 2) {
            st_.TitleStep = 2;
            result = 0;
        }
        bool ended = false;
        switch (st_.TitleStep) {
            case 0:
                ++st_.TitleFrame;
                if (host_.PaintDisable()) break;
                ended = st_.TitleFrame >= kTitleFirstFadeSteps;
                FadeStep(host_, st_.TitleCurrent, st_.TitleScaled, st_.TitleFrom, st_.TitleMiddle,
                         FadeProgress(st_.TitleFrame, kTitleFirstFadeSteps), kFadeSoftness);
                break;
            case 1:
                ++st_.TitleFrame;
                if (!host_.PaintDisable()) {
                    ended = st_.TitleFrame >= st_.TitleFadeFrames;
                    FadeStep(host_, st_.TitleCurrent, st_.TitleScaled, st_.TitleMiddle, st_.TitleTo,
                             FadeProgress(st_.TitleFrame, st_.TitleFadeFrames + 1), kFadeSoftness);
                }
                DrawTitleCursor(app_);
                break;
            case 2:
                DrawTitleCursor(app_);
                Paint(view);
                ended = true;
                break;
            default:
                Menu(view, result, chooser);
                break;
        }
        if (ended) {
            ++st_.TitleStep;
            st_.TitleFrame = 0;
        }
    }

private:
    void Menu(CView& view, Long result, Long chooser) {
        if ((result & kViewItemChanged) != 0) {
            DrawTitleCursor(app_);
            if (view.InterfaceCursor() >= 0) host_.PlayMenuSound(4);
        }
        if ((result & kViewAccept) != 0) Choose(view.InterfaceCursor(), chooser);
        // "End" may have emptied the front end already.
        if (app_.CurrentView) Paint(*app_.CurrentView);
    }

    void Choose(Long item, Long chooser) {
        if (item == kTitleEndItem) {
            host_.PlayMenuSound(2);
            host_.UnLoadTheApp();
            return;
        }
        if (item < 0 || item >= static_cast<Long>(TitleChoices().size())) return;
        const TitleChoice& choice = TitleChoices()[static_cast<std::size_t>(item)];
        host_.PlayMenuSound(1);
        app_.TitleMode = choice.titleMode;
        if (auto& game = battle::gGame()) {
            game->gd().GameMode = chooser == 2 ? choice.gameModeBySecondPlayer : choice.gameMode;
        }
        app_.Job().Add(ApplicationConfig::Key(choice.nextJob), kJobKindModal);
        KeepLastFrame(app_);
        st_.TitleLeaving = true;
    }

    // The captions type during compositions: they need the atlas then too.
    void Paint(CView& view) {
        GlyphAtlasScope atlas(st_.TitleAtlas);
        view.Paint();
    }

    ApplicationConfig& app_;
    ScreenHost& host_;
    ScreenState& st_;
};

}  // namespace

const std::array<TitleChoice, 4>& TitleChoices() {
    static constexpr std::array<TitleChoice, 4> kChoices{{
        {1, 1, 1, kArcadeLevelJob},
        {2, 2, 3, kFreeFightLevelJob},
        {3, 4, 4, kVersusLevelJob},
        {4, 7, 7, kNetworkLevelJob},
    }};
    return kChoices;
}

void DrawTitleCursor(ApplicationConfig& app) {
    if (!app.CurrentView || app.Screens == nullptr) return;
    CView& view = *app.CurrentView;
    DrawBarCursor(view, *app.Screens, kCursorEntry, kCursorWiden);
    if (CLayerConfig* c = Entry(view, kCursorEntry).Config()) {
        c->Add(0.4f, 0, -1, 1.0f, 0x204070, 0xFFFFFF, 0, -1, 0);
    }
}

void TitleJob(ApplicationConfig& app, Long, Long message, Long) {
    if (app.Screens == nullptr) return;
    Title title(app, *app.Screens);
    switch (message) {
        case framework::kJobMessageBegin:
            title.Begin(false);
            break;
        case framework::kJobMessageActivated:
            if (app.State.TitleLeaving) title.Begin(true);
            break;
        case framework::kJobMessageEnd:
            title.End();
            break;
        case framework::kJobMessageStep:
            title.Step();
            break;
        default:
            break;
    }
}

}  // namespace brumil::frontend
