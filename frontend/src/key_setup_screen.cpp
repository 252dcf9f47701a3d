#include "frontend/key_setup_screen.h"

#include <memory>
#include <optional>

#include "framework/input_codes.h"
#include "framework/job_list.h"
#include "frontend/application_config.h"
#include "frontend/layer_object.h"
#include "frontend/logo_sequence.h"
#include "frontend/screen_host.h"
#include "frontend/view.h"
#include "image/cmg_bbi_function.h"

namespace brumil::frontend {

using framework::kJobMessageActivated;
using framework::kJobMessageBegin;
using framework::kJobMessageEnd;
using framework::kJobMessageStep;
namespace {

// Layers of the screen's view.
enum KeySetupLayer : Long {
    kBackgroundLayer = 0,
    kHeadingLayer = 1,
    kLabelLayer = 2,
    kNameLayer = 3,
    kCursorLayer = 4,
    kLayerCount = 5,
};

constexpr Long kFontSize = 21;
constexpr std::string_view kFontName = "楷書";
constexpr Long kTextColor = 0x052131;
constexpr Long kPageNameColor = 0x203020;
constexpr Long kNameColor = 0x104020;
constexpr Single kTextWait = 8.0f;

// Scan codes that move the cursor on the keyboard page.
constexpr Long kScanUp = 200;
constexpr Long kScanDown = 208;
constexpr Long kScanLeft = 203;
constexpr Long kScanRight = 205;

// The cursor picture reaches this far left of an item and this much wider.
constexpr Long kCursorLeft = 180;
constexpr Long kCursorExtraWidth = 400;

using framework::kAssignUp;

// A text style's box origin, alignments and typing wait; the character
// spacing only when given (the name layer keeps the page line's).
CLayerConfig::TextLayout Layout(Long x, Long y, std::optional<Long> charSpace, Long alignH) {
    CLayerConfig::TextLayout layout;
    layout.X = x;
    layout.Y = y;
    layout.CharSpace = charSpace;
    layout.AlignH = alignH;
    layout.AlignV = 1;
    layout.TextWait = kTextWait;
    return layout;
}
using framework::KeyAssignRecord;

struct Screen {
    ApplicationConfig& app;
    ScreenHost& host;

    ScreenState& St() { return app.State; }
    CView& View() {
        if (!app.CurrentView) app.CurrentView = std::make_unique<CView>(host.FrameHost());
        return *app.CurrentView;
    }
    KeyAssignRecord& PageRecord() { return framework::gKeyAssign()[St().Page == 0 ? 0 : 1]; }

    void CopyRecords() {
        St().KeyRecord[0] = framework::gKeyAssign()[0];
        St().KeyRecord[1] = framework::gKeyAssign()[1];
    }

    // Types every line into the entry with its current style.
    void DrawLines(CLayerObject& entry, const std::vector<std::string>& lines) {
        CView& v = View();
        v.SettingClear();
        for (const std::string& line : lines) v.Setting(line);
        v.DrawText(entry);
        v.SettingClear();
    }

    void BuildScreen(Long page) {
        app.CurrentView = std::make_unique<CView>(host.FrameHost());
        CView& v = View();
        v.InterfaceReset(0);
        v.Layer()->Resize(640, 480, kLayerCount);
        const Long joysticks = St().JoystickCount;

        CLayerObject background(v.Layer(), kBackgroundLayer);
        const std::shared_ptr<const image::CmgBBI> picture = host.TexturePicture("appconfig");
        v.Blt(background, *picture, 0, 0, {}, {}, 0, 0);

        for (Long layer = kHeadingLayer; layer <= kNameLayer; ++layer) {
            v.Layer()->Config(layer)->AddFont(kFontSize, kFontName, 0, true);
        }

        CLayerObject heading(v.Layer(), kHeadingLayer);
        heading.Config()->AddText(kTextColor, 0.5f, 0, Layout(20, 25, 0, 0));
        DrawLines(heading, {KeySetupHeadingLine(joysticks)});

        CLayerObject labels(v.Layer(), kLabelLayer);
        labels.Config()->AddText(kTextColor, 0.95f, 0,
                                 Layout(20, KeySetupRowOffset(joysticks), 0, 0));
        DrawLines(labels, KeySetupLabelLines(joysticks, page));
    }

    void ShowAssignments(Long page) {
        CView& v = View();
        const Long joysticks = St().JoystickCount;
        CLayerObject names(v.Layer(), kNameLayer);
        names.Remove();
        const std::string pageLine = KeySetupPageNameLine(joysticks, page);
        if (!pageLine.empty()) {
            names.Config()->AddText(kPageNameColor, 0.95f, 0,
                                    Layout(20, KeySetupRowOffset(joysticks), 0, 0));
            DrawLines(names, {pageLine});
        }
        names.Config()->AddText(kNameColor, 0.95f, 0,
                                Layout(20, KeySetupRowOffset(joysticks), std::nullopt, 2));
        DrawLines(names, KeySetupNameLines(joysticks, framework::gKeyAssign()[page == 0 ? 0 : 1]));
    }

    // The item layout for the pad count, the cursor and the paint. The layout
    // is needed for input in every step; drawing only in drawn steps.
    void BuildItems() {
        CView& v = View();
        v.SettingClear();
        for (const std::string& line : KeySetupItemLines(St().JoystickCount)) v.Setting(line);
        if (host.PaintDisable()) return;
        CLayerObject cursor(v.Layer(), kCursorLayer);
        // An item without a rectangle (none chosen, or one this layout lacks)
        // shows no cursor.
        const core::CRect* item = v.GetRects().Item(v.InterfaceCursor());
        if (item == nullptr) {
            cursor.Remove();
        } else {
            const std::shared_ptr<const image::CmgBBI> picture = host.TexturePicture("cursor");
            v.Blt(cursor, *picture, item->X - kCursorLeft, item->Y, item->Width + kCursorExtraWidth,
                  item->Height, 0, 0);
        }
        cursor.Config()->Add(0.166f, 0, -1, 1.0f, 0, 0xFFFFFF, 0, -1, 0);
        v.Paint();
    }

    void Rebuild(Long page) {
        BuildScreen(page);
        ShowAssignments(page);
        BuildItems();
    }

    // Stores a captured code in the current item's entry of the page's record.
    void Capture(Long code) {
        CView& v = View();
        const Long entry = KeySetupEntryOfItem(v.InterfaceCursor());
        if (entry < 0) return;
        // No code is assigned twice: it leaves every other place first.
        framework::RemoveKeyAssign(code);
        PageRecord()[static_cast<std::size_t>(entry)] = code;
        host.PlayMenuSound(2);
        v.InterfaceCursorLinear(1);
        ShowAssignments(St().Page);
    }

    // One step of input: answers the item chosen (10 or 11), else -1.
    Long Input(Long page) {
        CView& v = View();
        const Long joysticks = St().JoystickCount;
        Long bits = 0;
        v.InterfaceMouseClick(bits, true);
        // Movement comes from the input codes below; these only report keys.
        v.InterfaceKeyboard(bits, false, false);
        v.InterfaceVKey(bits, 0, false, false);
        v.InterfaceVKey(bits, 1, false, false);

        bool moved = (bits & kViewItemChanged) != 0;
        const auto move = [&](Long step) {
            v.InterfaceCursorLinear(step);
            moved = true;
        };
        Long captured = 0;
        if (joysticks <= 0) {
            const Long c = host.WaitInputCode(-1);
            if ((c & framework::kKeyboardClass) != 0) {
                const Long item = v.InterfaceCursor();
                const Long scan = framework::InputLowByte(c);
                if (item >= 6 && item <= 9) {
                    captured = c;
                } else if (scan == kScanUp) {
                    move(-1);
                } else if (scan == kScanDown) {
                    move(1);
                } else if (scan != kScanLeft && scan != kScanRight) {
                    captured = c;
                }
            }
        } else {
            const auto padMove = [&](Long c) {
                if (framework::InputClass(c) != framework::kJoyDirectionClass) return false;
                const Long direction = framework::InputLowByte(c);
                if (direction == framework::kJoyUp) move(-1);
                if (direction == framework::kJoyDown) move(1);
                return true;
            };
            padMove(host.WaitInputCode(page ^ 1));
            const Long c = host.WaitInputCode(page);
            if (!padMove(c) && framework::InputClass(c) == framework::kJoyButtonClass) {
                captured = c;
            }
        }

        // The decision belongs to the item it arrived on, before a capture
        // moves the cursor: a key captured on the last row never also
        // confirms on "決定".
        const Long decidedOn = v.InterfaceCursor();
        if (captured != 0) Capture(captured);

        Long chosen = -1;
        const bool decide = (bits & kViewAccept) != 0;
        if (decide && (decidedOn == kKeySetupPageItem || decidedOn == kKeySetupDecideItem)) {
            // An incomplete record makes the decision do nothing.
            if (KeySetupRecordComplete(PageRecord(), joysticks)) {
                host.PlayMenuSound(1);
                chosen = decidedOn;
            }
        }
        if (moved && v.InterfaceCursor() != -1) host.PlayMenuSound(4);
        BuildItems();
        return chosen;
    }

    void HandOver() {
        app.Job().Remove(ApplicationConfig::Key(kKeySetupJob));
        app.Job().Add(ApplicationConfig::Key(kLogoJob), framework::kJobKindNormal);
        app.WorkPicture.CreateBBI(640, 480);
        const image::CmgBBI& painted = View().PaintGetBBI();
        image::gBBIFunction().BBIExpandBlt(app.WorkPicture, painted, 0, 0, painted.GetWidth(),
                                           painted.GetHeight(), 0, 0, painted.GetWidth(),
                                           painted.GetHeight(), 1.0f);
    }

    void Step() {
        ScreenState& st = St();
        const Long level = host.GetRenderLevel();
        if (level != st.RenderLevel) {
            st.RenderLevel = level;
            BuildItems();
        }
        const platform::Millis now = host.NowMs();
        if (platform::DeadlinePassed(now, st.NextJoystickScan)) {
            st.NextJoystickScan = platform::DeadlineAfter(now, kJoystickRescanMs);
            host.SetupJoysticks();
        }
        const Long joysticks = host.GetJoystickCount();
        if (joysticks != st.JoystickCount) {
            st.JoystickCount = joysticks;
            host.SetupKeyAssign();
            CopyRecords();
            st.Page = 0;
            Rebuild(0);
        }
        const Long chosen = Input(st.Page);
        if (chosen == kKeySetupPageItem) {
            st.Page ^= 1;
            Rebuild(st.Page);
            return;
        }
        if (chosen == kKeySetupDecideItem) HandOver();
    }
};

}  // namespace

void AppJob1_KeySetup(ApplicationConfig& app, Long, Long message, Long) {
    if (app.Screens == nullptr) return;
    Screen screen{app, *app.Screens};
    ScreenState& st = app.State;
    switch (message) {
        case kJobMessageBegin:
            app.Screens->EnableScreenMenus(true);
            st.RenderLevel = app.Screens->GetRenderLevel();
            st.JoystickCount = app.Screens->GetJoystickCount();
            screen.CopyRecords();
            st.Page = 0;
            // The first step counts the joysticks again.
            st.NextJoystickScan = app.Screens->NowMs();
            screen.Rebuild(0);
            break;
        case kJobMessageEnd:
            app.CurrentView.reset();
            app.Screens->EnableScreenMenus(true);
            break;
        case kJobMessageActivated:
            if (!app.CurrentView) screen.BuildScreen(st.Page);
            screen.ShowAssignments(st.Page);
            screen.BuildItems();
            break;
        case kJobMessageStep:
            screen.Step();
            break;
        default:
            break;
    }
}

}  // namespace brumil::frontend
