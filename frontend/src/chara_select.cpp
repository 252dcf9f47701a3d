#include "frontend/chara_select.h"

#include <memory>
#include <string>

#include "battle/b_game.h"
#include "core/api.h"
#include "framework/input_state.h"
#include "frontend/application_config.h"
#include "frontend/job_numbers.h"
#include "frontend/screen_host.h"
#include "frontend/screen_parts.h"
#include "frontend/view.h"

namespace brumil::frontend {
namespace {

constexpr Long kEntryCount = 15;
constexpr Long kBackgroundEntry = 0;
constexpr Long kStripEntry = 5;
constexpr Long kLoadingEntry = 14;

// The entries of one side: first side, second side.
struct SideEntries {
    Long shadow, portrait, name, underLayer, description;
    Long centreX;      // the portrait is centred on (centreX, 240)
    Long shadowShift;  // the shadow sits this far from the portrait on both axes
    Long nameX, descriptionX;
    const char* picture;  // the portrait's picture in the character's folder
};
constexpr SideEntries kSides[2] = {
    {3, 6, 8, 10, 12, 140, -20, 0, 20, "images_1"},
    {4, 7, 9, 11, 13, 500, 20, 380, 320, "images_2"},
};

constexpr Long kStepSlideIn = 0;
constexpr Long kStepFirstPaint = 1;
constexpr Long kStepChoosing = 2;
constexpr Long kStepLoading = 3;

constexpr const char* kFontName = "あくあ";

std::string SlotLine(Long slot, bool enabled) {
    return "  " + std::to_string(slot) + ",100," + std::to_string(100 + 20 * slot) + ",440, 20," +
           (enabled ? "1," : "0,");
}

battle::BGameOption* Options() {
    auto& game = battle::gGame();
    return game ? &game->gd() : nullptr;
}

class CharaSelect {
public:
    CharaSelect(ApplicationConfig& app, ScreenHost& host, Long job)
        : app_(app), host_(host), st_(app.State), job_(job) {}

    void Begin(bool again) {
        app_.CurrentView = std::make_unique<CView>(host_.FrameHost());
        CView& view = *app_.CurrentView;
        view.InterfaceReset(0);
        view.Layer()->Resize(kScreenWidth, kScreenHeight, kEntryCount);
        view.SettingClear();
        for (Long slot = 0; slot < kCharaSlotCount; ++slot) view.Setting(SlotLine(slot, true));
        CLayerObject background = Entry(view, kBackgroundEntry);
        view.Blt(background, *host_.TexturePicture("select_character1.bmp"), 0, 0, {}, {}, 0, 0);
        if (job_ == kArcadeCharaJob) {
            for (Long slot = 0; slot < kCharaSlotCount; ++slot) {
                view.Setting(SlotLine(slot, CharaSlotOffered(job_, slot)));
            }
        }
        st_.CharaStep = kStepSlideIn;
        st_.CharaFrame = 0;
        if (!again) {
            st_.CharaLeaving = false;
            st_.CharaCursor1 = 0;
            st_.CharaCursor2 = 0;
            st_.CharaDecided1 = 0;
            st_.CharaDecided2 = 0;
        }
        // A cursor left on a slot this screen does not offer starts on slot 0.
        if (!CharaSlotOffered(job_, st_.CharaCursor1)) st_.CharaCursor1 = 0;
        if (!CharaSlotOffered(job_, st_.CharaCursor2)) st_.CharaCursor2 = 0;
    }

    void Step() {
        if (!app_.CurrentView) return;
        CView& view = *app_.CurrentView;
        bool ended = false;
        switch (st_.CharaStep) {
            case kStepSlideIn:
                st_.CharaFrame += kCharaSlideStep;
                if (host_.PaintDisable()) break;
                if (st_.CharaFrame > kCharaStripHeight) {
                    st_.CharaFrame = kCharaStripHeight;
                    ended = true;
                }
                SlideIn(view);
                break;
            case kStepFirstPaint:
                view.Paint();
                host_.RePaint();
                st_.CharaDecided1 = 0;
                st_.CharaDecided2 = 0;
                ended = true;
                break;
            case kStepChoosing:
                ended = Choose(view);
                break;
            case kStepLoading:
                ++st_.CharaFrame;
                Loading(view);
                ended = true;
                break;
            default:
                // The modal job suspends this one; a later activation rebuilds.
                KeepLastFrame(app_);
                st_.CharaLeaving = true;
                app_.Job().Add(ApplicationConfig::Key(kMatchSequenceJob), kJobKindModal);
                break;
        }
        if (ended) {
            ++st_.CharaStep;
            st_.CharaFrame = 0;
        }
    }

private:
    void SlideIn(CView& view) {
        CLayerObject strip = Entry(view, kStripEntry);
        view.Blt(strip, *host_.TexturePicture("select_character2.bmp"), 0,
                 kScreenHeight - st_.CharaFrame, {}, kCharaStripHeight, 0,
                 kScreenHeight - kCharaStripHeight, {}, kCharaStripHeight);
        strip.Config()->Add(1.0f, -1, 0, 1.0f, 0, 0xFFFFFF, 0, -1, 0);
        view.Paint();
    }

    void Loading(CView& view) {
        for (Long index : {kBackgroundEntry, kStripEntry}) {
            CLayerObject dimmed = Entry(view, index);
            dimmed.Config()->Choose6 = 0.125f;
            dimmed.Config()->Choose11 = 0x808080;
            dimmed.Redraw();
        }
        CLayerObject notice = Entry(view, kLoadingEntry);
        CLayerConfig::TextLayout layout;
        layout.X = 0;
        layout.Y = 0;
        layout.Width = kScreenWidth;
        layout.Height = kScreenHeight;
        layout.AlignH = 1;
        layout.AlignV = 1;
        layout.TextWait = 0.0f;
        notice.Config()->AddText(0x404040, 0.9f, 0, layout);
        notice.Config()->AddFont(24, kFontName, 0, true);
        notice.Text("Now Loading...");
        view.Paint();
    }

    // Leaves for the level select below.
    void Leave() {
        KeepLastFrame(app_);
        app_.Job().Remove(ApplicationConfig::Key(job_));
        host_.PlayMenuSound(3);
    }

    // Moves a cursor with a player's controls; a fixed pick keeps its slot.
    static void MoveCursor(CView& view, Long& cursor, Long decided, Long player, Long& result) {
        view.InterfaceReset(cursor);
        view.InterfaceVKeyLinear(result, player);
        if (decided == 0) cursor = view.InterfaceCursor();
    }

    // One step of choosing; true when the picks are complete.
    bool Choose(CView& view) {
        ++st_.CharaFrame;
        if (framework::gInputState().MouseRight == 1) {
            Leave();
            return false;
        }
        Long r1 = 0;
        Long r2 = 0;
        const bool first = st_.CharaFrame == 1;
        if (first) {
            // Both sides are drawn once; no input is read.
            r1 = kViewItemChanged;
            r2 = kViewItemChanged;
        } else if (job_ == kFreeFightCharaJob) {
            if (st_.CharaDecided1 == 0) {
                MoveCursor(view, st_.CharaCursor1, st_.CharaDecided1, 0, r1);
            } else {
                MoveCursor(view, st_.CharaCursor2, st_.CharaDecided2, 0, r2);
            }
        } else {
            MoveCursor(view, st_.CharaCursor1, st_.CharaDecided1, 0, r1);
            if (job_ == kVersusCharaJob) {
                MoveCursor(view, st_.CharaCursor2, st_.CharaDecided2, 1, r2);
            }
        }

        if (job_ == kFreeFightCharaJob && st_.CharaDecided1 == 1 && (r2 & kViewCancel) != 0) {
            // Back from the computer's pick undoes the player's too.
            st_.CharaDecided1 = 0;
            st_.CharaDecided2 = 0;
            r1 |= kViewItemChanged;
            r2 |= kViewItemChanged;
            host_.PlayMenuSound(3);
        } else {
            if (Cancel(r1, st_.CharaDecided1)) return false;
            if (Cancel(r2, st_.CharaDecided2)) return false;
        }

        Redraw(0, r1, st_.CharaCursor1, st_.CharaDecided1, first);
        Redraw(1, r2, st_.CharaCursor2, st_.CharaDecided2, first);
        Pick(0, r1, st_.CharaCursor1, st_.CharaDecided1);
        Pick(1, r2, st_.CharaCursor2, st_.CharaDecided2);

        const bool oneCursor = job_ == kArcadeCharaJob || job_ == kNetworkCharaJob;
        const bool done = st_.CharaDecided1 == 1 && (oneCursor || st_.CharaDecided2 == 1);
        view.Paint();
        return done;
    }

    // A cancel undoes the side's pick, or with none leaves the screen: true
    // when it left.
    bool Cancel(Long& result, Long& decided) {
        if ((result & kViewCancel) == 0) return false;
        if (decided == 1) {
            decided = 0;
            result |= kViewItemChanged;
            host_.PlayMenuSound(3);
            return false;
        }
        Leave();
        return true;
    }

    void Redraw(Long side, Long result, Long cursor, Long decided, bool first) {
        if (decided != 0 || (result & kViewItemChanged) == 0) return;
        if (cursor >= 0 && !first) host_.PlayMenuSound(4);
        DrawSide(side, cursor);
    }

    void Pick(Long side, Long result, Long cursor, Long& decided) {
        if ((result & kViewAccept) == 0 || cursor < 0 || decided != 0) return;
        host_.PlayMenuSound(1);
        const Long id = ApplicationConfig::IndexExchange(cursor);
        if (battle::BGameOption* options = Options()) {
            options->CharaID(side, id != 0 ? id : core::gApi().Rnd(1, battle::kCharacterCount));
        }
        decided = 1;
        const SideEntries& e = kSides[side];
        CView& view = *app_.CurrentView;
        CLayerObject portrait = Entry(view, e.portrait);
        portrait.Config()->Add(0.9f, -1, 0, 0.4f, 0, 0xFFFFFF, 0, -1, 0);
        if (id == 0)
            portrait.Config()->Add(0.5f, -1, 0, 1.0f, 0, 0xFFFFFF, 0, 0xFF000000, 0xDEDEDE);
        Entry(view, e.description).TextNoWait();
        Entry(view, e.underLayer).TextNoWait();
        portrait.Redraw();
    }

    void DrawSide(Long side, Long cursor) {
        CView& view = *app_.CurrentView;
        const SideEntries& e = kSides[side];
        const Long id = ApplicationConfig::IndexExchange(cursor);
        const core::CRect r = ApplicationConfig::CharaRect(id);
        const auto picture = host_.TexturePicture(ApplicationConfig::CharaFolder(id) + e.picture);
        const Long x = RoundToLong(r.X + e.centreX - r.Width / 2.0);
        const Long y = RoundToLong(r.Y + 240 - r.Height / 2.0);
        CLayerObject portrait = Entry(view, e.portrait);
        CLayerObject shadow = Entry(view, e.shadow);
        view.Blt(portrait, *picture, x, y, r.Width, r.Height, 0, 0);
        view.Blt(shadow, *picture, x + e.shadowShift, y + e.shadowShift, r.Width, r.Height, 0, 0);

        CLayerObject name = Entry(view, e.name);
        CLayerConfig::TextLayout nameBox;
        nameBox.X = e.nameX;
        nameBox.Y = 378;
        nameBox.Width = 260;
        nameBox.Height = 100;
        nameBox.CharSpace = -7;
        nameBox.AlignH = 1;
        nameBox.AlignV = 1;
        nameBox.TextWait = 0.0f;
        name.Config()->AddText(0x908070, 0.9f, 0, nameBox);
        name.Config()->AddFont(24, kFontName, 0, true);
        name.Text(ApplicationConfig::CharaName(id));

        CLayerConfig::TextLayout hintBox;
        hintBox.X = e.descriptionX;
        hintBox.Y = 178;
        hintBox.Width = 300;
        hintBox.Height = 200;
        hintBox.CharSpace = -3;
        hintBox.LineSpace = -2;
        hintBox.AlignH = 1;
        hintBox.AlignV = 2;
        hintBox.TextWait = 1.0f;
        const std::string hint = ApplicationConfig::CharaHint(id);
        CLayerObject description = Entry(view, e.description);
        description.Config()->AddText(0, 0.75f, 0, hintBox);
        description.Config()->AddFont(18, kFontName, 0, true);
        description.Text(hint);
        // A blurred white under-layer of the same text.
        CLayerObject under = Entry(view, e.underLayer);
        under.Config()->AddText(0xFFFFFF, 0.95f, 0, hintBox);
        under.Config()->AddFont(18, kFontName, 3, true);
        under.Text(hint);

        portrait.Config()->Add(0.95f, -1, 0, 0.7f, 0, 0xFFFFFF, 0, -1, 0);
        shadow.Config()->Add(0.5f, -1, 0, 1.0f, 0, 0xFFFFFF, 0, 0xFF000000, 0x808080);
        // The random pick's portrait is drawn faint.
        if (id == 0)
            portrait.Config()->Add(0.1f, -1, 0, 1.0f, 0, 0xFFFFFF, 0, 0xFF000000, 0xDEDEDE);
    }

    ApplicationConfig& app_;
    ScreenHost& host_;
    ScreenState& st_;
    Long job_;
};

}  // namespace

bool CharaSlotOffered(Long job, Long slot) {
    if (slot < 0 || slot >= kCharaSlotCount) return false;
    if (job != kArcadeCharaJob) return true;
    return slot == 0 || slot == 1 || slot == 6;
}

void CharaSelectJob(ApplicationConfig& app, Long job, Long message, Long) {
    if (app.Screens == nullptr) return;
    if (job != kArcadeCharaJob && job != kFreeFightCharaJob && job != kVersusCharaJob &&
        job != kNetworkCharaJob) {
        return;
    }
    CharaSelect screen(app, *app.Screens, job);
    switch (message) {
        case framework::kJobMessageBegin:
            screen.Begin(false);
            break;
        case framework::kJobMessageActivated:
            if (app.State.CharaLeaving) screen.Begin(true);
            break;
        case framework::kJobMessageStep:
            screen.Step();
            break;
        default:
            break;
    }
}

}  // namespace brumil::frontend
