#include "frontend/continue_screen.h"

#include <array>
#include <memory>

#include "battle/b_game.h"
#include "framework/input_module.h"
#include "framework/key_assign.h"
#include "frontend/application_config.h"
#include "frontend/job_numbers.h"
#include "frontend/screen_host.h"
#include "frontend/screen_parts.h"
#include "frontend/view.h"

namespace brumil::frontend {
namespace {

constexpr Long kEntryCount = 6;
constexpr Long kBackgroundEntry = 0;
constexpr Long kQuestionShadowEntry = 1;
constexpr Long kQuestionEntry = 2;
constexpr Long kAnswerShadowEntry = 3;
constexpr Long kAnswerEntry = 4;
constexpr Long kCursorEntry = 5;

constexpr Long kNoItem = 1;
constexpr Long kComputerWon = 1;
constexpr Long kCursorWiden = 180;

// The screens an ended run removes, in this order; numbers not on the list
// are ignored by it. The title below becomes active again.
constexpr std::array<Long, 9> kRunScreens{
    kMatchSequenceJob, kFreeFightCharaJob, kFreeFightLevelJob, kVersusCharaJob, kVersusLevelJob,
    kNetworkCharaJob,  kNetworkLevelJob,   kArcadeCharaJob,    kArcadeLevelJob,
};

void SetCaptionStyle(CLayerConfig& c, Long colour, Long offset, Long blur) {
    CLayerConfig::TextLayout layout;
    layout.X = offset;
    layout.Y = offset;
    layout.CharSpace = -4;
    layout.AlignH = 1;
    layout.AlignV = 1;
    layout.TextWait = 8.0f;
    c.AddText(colour, 1.0f, 0, layout);
    c.AddFont(32, "ＭＳ ゴシック", blur, true);
}

void SetQuestionStyle(CLayerConfig& c, Long colour, Long blur) {
    CLayerConfig::TextLayout layout;
    layout.X = 0;
    layout.Y = 0;
    layout.Width = kScreenWidth;
    layout.Height = kScreenHeight;
    layout.AlignH = 1;
    layout.AlignV = 1;
    layout.TextWait = 0.0f;
    c.AddText(colour, 0.95f, 0, layout);
    c.AddFont(24, "あくあ", blur, true);
}

// The match end clears the players' records, so a button held through it
// reads there as pressed afresh. The device behind player 1's button 1 tells
// a fresh press from one held since before the question.
bool Button1WentDown() {
    const Long code = framework::gKeyAssign()[0][0];
    return framework::gInputModule().Tracker().HoldCount(code) == 1;
}

class MatchSequence {
public:
    MatchSequence(ApplicationConfig& app, ScreenHost& host, battle::bGame& game)
        : app_(app), host_(host), st_(app.State), game_(game) {}

    void Begin() {
        game_.Winner = -1;
        st_.EnemyIndex = 0;
        st_.ContinueShown = 0;
        battle::BGameOption& options = game_.gd();
        if (options.GameMode == kArcadeGameMode) {
            st_.EnemyOrder = {0, 0, 0, 0};
            for (std::size_t i = 0; i < st_.EnemyOrder.size(); ++i) {
                const std::array<Long, 5> taken{options.CharaID(0), st_.EnemyOrder[0],
                                                st_.EnemyOrder[1], st_.EnemyOrder[2],
                                                st_.EnemyOrder[3]};
                st_.EnemyOrder[i] = ApplicationConfig::GetEnem(taken);
            }
        }
        BuildView();
    }

    // The question stays on show whenever the view is rebuilt while it is
    // asked (a dialog closed over it).
    void BuildView() {
        app_.CurrentView = std::make_unique<CView>(host_.FrameHost());
        CView& view = *app_.CurrentView;
        view.InterfaceReset(0);
        view.Layer()->Resize(kScreenWidth, kScreenHeight, kEntryCount);
        view.SettingClear();
        view.Setting("  0,100,100,440, 20,1,");
        view.Setting("  1,100,120,440, 20,1,");
        view.InterfaceReset(0);
        if (st_.ContinueShown == 1) BuildQuestion(view);
    }

    void Step() {
        if (game_.gd().GameMode != kArcadeGameMode) {
            app_.Job().Remove(ApplicationConfig::Key(kMatchSequenceJob));
            app_.Job().Add(ApplicationConfig::Key(kBattleStartJob), kJobKindModal);
            return;
        }
        if (game_.Winner != kComputerWon) {
            NextMatch();
            return;
        }
        if (!app_.CurrentView) return;
        CView& view = *app_.CurrentView;
        if (st_.ContinueShown == 0) {
            st_.ContinueShown = 1;
            BuildQuestion(view);
        }
        DrawContinueCursor(app_);
        Long result = 0;
        view.InterfaceMouseClick(result, true);
        view.InterfaceKeyboard(result, false, true);
        if (result == 0) {
            view.InterfaceVKey(result, 0, false, true);
            if (!Button1WentDown()) result &= ~kViewAccept;
        }
        const Long item = view.InterfaceCursor();
        if ((result & kViewAccept) != 0 && item >= 0) {
            game_.Winner = -1;
            if (item == kNoItem) st_.EnemyIndex = -1;
        }
        GlyphAtlasScope atlas(st_.ContinueAtlas);
        view.Paint();
    }

private:
    void NextMatch() {
        st_.ContinueShown = 0;
        if (st_.EnemyIndex >= 0 && st_.EnemyIndex < kArcadeOpponents) {
            game_.gd().CharaID(1, st_.EnemyOrder[static_cast<std::size_t>(st_.EnemyIndex)]);
            app_.Job().Add(ApplicationConfig::Key(kBattleStartJob), kJobKindModal);
            ++st_.EnemyIndex;
            return;
        }
        for (Long job : kRunScreens) app_.Job().Remove(ApplicationConfig::Key(job));
    }

    void BuildQuestion(CView& view) {
        CLayerObject background = Entry(view, kBackgroundEntry);
        view.Blt(background, *host_.TexturePicture("select_character1.bmp"), 0, 0, {}, {}, 0, 0);
        background.Config()->Add(1.0f, 0, 0, 0.75f, 0, 0xFFFFFF, 0, -1, 0);
        const char* question = "コンティニューしますかー？";
        CLayerObject shadow = Entry(view, kQuestionShadowEntry);
        SetQuestionStyle(*shadow.Config(), 0, 3);
        shadow.Text(question);
        CLayerObject text = Entry(view, kQuestionEntry);
        SetQuestionStyle(*text.Config(), 0xFFFFFF, 0);
        text.Text(question);

        st_.ContinueAtlas = MakeCaptionAtlas(host_);
        GlyphAtlasScope atlas(st_.ContinueAtlas);
        view.SettingClear();
        view.Setting("  0,180,300,280, 25,1,Yes");
        view.Setting("  1,180,330,280, 25,1,No");
        CLayerObject answerShadow = Entry(view, kAnswerShadowEntry);
        SetCaptionStyle(*answerShadow.Config(), 0x304010, 1, 8);
        view.DrawText(answerShadow);
        CLayerObject answers = Entry(view, kAnswerEntry);
        SetCaptionStyle(*answers.Config(), 0xFFFFFF, 0, 0);
        view.DrawText(answers);
    }

    ApplicationConfig& app_;
    ScreenHost& host_;
    ScreenState& st_;
    battle::bGame& game_;
};

}  // namespace

void DrawContinueCursor(ApplicationConfig& app) {
    if (!app.CurrentView || app.Screens == nullptr) return;
    CView& view = *app.CurrentView;
    DrawBarCursor(view, *app.Screens, kCursorEntry, kCursorWiden);
    if (CLayerConfig* c = Entry(view, kCursorEntry).Config()) {
        c->Add(0.2f, 0, -1, 1.0f, 0x204070, 0xFFFFFF, 0, -1, 0);
    }
}

void ContinueJob(ApplicationConfig& app, Long, Long message, Long) {
    auto& game = battle::gGame();
    if (app.Screens == nullptr || !game) return;
    MatchSequence sequence(app, *app.Screens, *game);
    switch (message) {
        case framework::kJobMessageBegin:
            sequence.Begin();
            break;
        case framework::kJobMessageActivated:
            sequence.BuildView();
            break;
        case framework::kJobMessageStep:
            sequence.Step();
            break;
        default:
            break;
    }
}

}  // namespace brumil::frontend
