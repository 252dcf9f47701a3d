#include "frontend/service_jobs.h"

#include "framework/job_list.h"
#include "frontend/application_config.h"
#include "frontend/quadefects.h"

namespace brumil::frontend {

using framework::kJobMessageBegin;
using framework::kJobMessageEnd;
using framework::kJobMessageStep;

namespace {

// The window menu shows with the mouse above this screen row and hides from
// the second row on; the rows between leave it as it is.
constexpr Long kMenuShowBelowY = 20;
constexpr Long kMenuHideFromY = 31;

// Texture-cache reloads job 9 may ask for before the limit settles.
constexpr int kVideoMemoryCashTries = 10;

}  // namespace

// ---- Job 2: menu ticker ----------------------------------------------------

void AppJob2_MenuTicker(ApplicationConfig& app, Long, Long message, Long) {
    ServiceJobHost* host = app.ServiceHost;
    if (host == nullptr || message != kJobMessageStep) return;
    ScreenState& st = app.State;
    const Long level = host->GetRenderLevel();
    if (level != st.MenuRenderLevel) {
        st.MenuRenderLevel = level;
        host->UpdateMainMenu();
    }
    host->SettingMainMenu(false);
    if (host->MouseMoved()) {
        const Long y = host->MouseScreenY();
        if (y < kMenuShowBelowY) {
            host->MainMenu(true);
        } else if (y >= kMenuHideFromY && !host->MenuInUse()) {
            // A drop-down reaches below the bar: the bar stays while it is
            // open or pointed at, so its items can be chosen.
            host->MainMenu(false);
        }
    }
}

// ---- Jobs 5 and 6: settings dialogs ----------------------------------------

namespace {

void DialogJob(ApplicationConfig& app, Long job, Long message) {
    ServiceJobHost* host = app.ServiceHost;
    if (host == nullptr) return;
    ScreenState& st = app.State;
    const bool keyDialog = job == kKeyDialogJob;
    switch (message) {
        case kJobMessageBegin:
            st.DialogLeftFullScreen = false;
            // A half-size full screen cannot show a window over it.
            if (host->IsFullScreenMode() && host->IsHalfSizeMode()) {
                host->SetFullScreenMode(false);
                st.DialogLeftFullScreen = true;
            }
            st.DialogShown = false;
            break;
        case kJobMessageStep: {
            SettingsDialog* dialog = host->Dialog(job);
            if (dialog == nullptr) {
                // No dialog to wait for: the job ends rather than holding the
                // screen below it and the menus forever.
                app.Job().Remove(ApplicationConfig::Key(job));
                break;
            }
            if (!st.DialogShown) {
                if (!st.DialogLeftFullScreen) {
                    Long x = 0, y = 0;
                    host->PictureOrigin(x, y);
                    dialog->Place(x, y);
                }
                dialog->Init();
                dialog->Show();
                // The dialog reads the keys itself.
                if (keyDialog) host->SetupKeyboardMouse();
                host->EnableScreenAndSystemMenus(false);
                st.DialogShown = true;
            } else {
                dialog->Step();
                if (!dialog->IsOpen()) app.Job().Remove(ApplicationConfig::Key(job));
            }
            break;
        }
        case kJobMessageEnd:
            if (keyDialog) host->SetupKeyboardMouse();
            host->EnableScreenAndSystemMenus(true);
            if (st.DialogLeftFullScreen) host->SetFullScreenMode(true);
            break;
        default:
            break;
    }
}

}  // namespace

void AppJob5_KeyDialog(ApplicationConfig& app, Long job, Long message, Long) {
    DialogJob(app, job, message);
}

void AppJob6_GraphicsDialog(ApplicationConfig& app, Long job, Long message, Long) {
    DialogJob(app, job, message);
}

// ---- Job 8: closing transition ---------------------------------------------

void SetupClosingQuad(CQuadefects& quad, Long preset, core::MathRandom& random) {
    // One draw per value, in the order the rule lists them.
    auto r = [&random] { return static_cast<Single>(random.Next01()); };
    switch (preset) {
        case 0:
            quad.SplitRgnAngle(16, 12.0f, 12.0f, 1.57074f, 1.57074f, 0.9f, 0.0f, 4.712389f, 0.0f);
            break;
        case 1: {
            const Single r0 = r();
            const Single r1 = r();
            quad.SplitRgnRing(16, 10.0f, 5.0f, r0 * 0.33f + 0.33f, r1 * 0.33f + 0.33f, 0.0f, 10.0f,
                              0.0f, 0.0f);
            break;
        }
        case 2:
            quad.SplitRgnAngle(16, 0.0f, 25.0f, r() * 6.28f, 1.0f, 0.2f, 0.0f, 4.712389f, 0.0f);
            break;
        case 3:
            quad.SplitRgnAngle(20, 5.0f, 30.0f, r() * 6.28f, 0.0f, 0.2f, 0.0f, 4.712389f, 0.0f);
            break;
        case 4:
            quad.SplitRgnRing(16, -25.0f, 25.0f, 0.5f, 0.5f, 1.0f, -3.0f, 24.0f, 2.0f);
            break;
        case 5:
            quad.SplitRgnAngle(20, -8.0f, 15.0f, r() * 6.28f, 1.0f, 0.05f, 0.0f, 4.712389f, 0.0f);
            break;
        case 6: {
            const Single r0 = r();
            const Single r1 = r();
            const Single r2 = r();
            quad.SplitRgnRing(20, 3.0f, 0.0f, r0 * 0.6f + 0.2f, r1 * 0.6f + 0.2f, 0.0f, 20.0f,
                              r2 * 20.0f + 10.0f, 0.0f);
            break;
        }
        case 7: {
            const Single r0 = r();
            const Single r1 = r();
            quad.SplitRgnRing(16, -20.0f, 0.0f, r0 * 0.8f + 0.1f, r1 * 0.8f + 0.1f, 0.0f, -7.0f,
                              0.0f, 0.0f);
            break;
        }
        default:
            break;
    }
}

void AppJob8_Closing(ApplicationConfig& app, Long job, Long message, Long) {
    ServiceJobHost* host = app.ServiceHost;
    if (host == nullptr) return;
    ScreenState& st = app.State;
    switch (message) {
        case kJobMessageBegin: {
            host->FadeOutSound(1000);
            host->SetTextureSearchPaths();
            st.TransFrame = -1;
            core::MathRandom& random = host->LooksRandom();
            // 4 to 7 ms slept each frame slows the tiles down to be seen.
            host->SetFramePacing(1, RoundToLong(random.Next01() * 3.0 + 4.0));
            break;
        }
        case kJobMessageStep: {
            if (st.TransFrame < 0) {
                host->CaptureScreen();
                core::MathRandom& random = host->LooksRandom();
                const Long preset = random.Range(0, 7);
                st.Quad = host->MakeQuad(random);
                if (st.Quad) SetupClosingQuad(*st.Quad, preset, random);
                st.TransTimeout = platform::DeadlineAfter(host->NowMs(), kClosingTimeoutMs);
                st.TransFrame = 0;
                break;
            }
            if (host->PaintDisable()) break;
            const Long endCount = st.Quad ? st.Quad->EndCount() : 0;
            // Past the time-out the transition ends on this drawn step
            // however few frames were drawn.
            const bool late = platform::MsSince(host->NowMs(), st.TransTimeout) > 0;
            if (st.TransFrame >= endCount || late) {
                app.Job().Remove(ApplicationConfig::Key(job));
                host->UnLoadTheApp();
                break;
            }
            host->DrawQuadFrame(*st.Quad);
            host->RePaint();
            ++st.TransFrame;
            break;
        }
        case kJobMessageEnd:
            st.Quad.reset();
            st.TransFrame = 0;
            st.TransTimeout = 0;
            break;
        default:
            break;
    }
}

// ---- Job 9: apply graphics settings ----------------------------------------

std::optional<GraphicsApply> GraphicsApplyFor(const GraphicsSettings& g) {
    struct Row {
        Long preset, depth;
        bool hardware, zBuffer, compression, no32, half, xga;
    };
    static constexpr Row kRows[] = {
        {0, 32, true, false, false, false, false, false},
        {1, 16, true, false, true, true, false, false},
        {2, 32, true, false, true, true, true, false},
        {3, 32, false, false, false, false, false, false},
        {11, 32, true, false, false, false, false, true},
    };
    GraphicsApply a;
    auto& c = a.change;
    c.width = 640;
    c.height = 480;
    c.depth = 0;  // the depth list, whose first entry is firstDepth
    c.refreshRate = 60;
    c.fullScreen = g.ScreenMode != 0;
    c.direct3D = true;
    if (g.GraphicsAutomation == 10) {
        a.firstDepth = g.DeviceMode != 0 ? g.PixelBits : (g.Disable32BitTexture > 0 ? 16 : 32);
        c.hardware = g.DeviceMode != 0;
        c.zBuffer = g.ZBuffer != 0;
        c.textureCompression = g.Disable32BitTexture != 0;
        c.no32BitTextures = g.Disable32BitTexture != 0;
        c.halfSize = (g.DisplaySize & 1) != 0;
        c.highQuality = (g.DisplaySize & 2) != 0;
        a.setsPacing = true;
        a.waitVsinkSP = (g.WaitVsink & 1) != 0;
        a.paintManual = (g.WaitVsink & 2) != 0;
        return a;
    }
    for (const Row& r : kRows) {
        if (r.preset != g.GraphicsAutomation) continue;
        a.firstDepth = r.depth;
        c.hardware = r.hardware;
        c.zBuffer = r.zBuffer;
        c.textureCompression = r.compression;
        c.no32BitTextures = r.no32;
        c.halfSize = r.half;
        c.highQuality = r.xga;
        return a;
    }
    return std::nullopt;
}

void AppJob9_ApplyGraphics(ApplicationConfig& app, Long job, Long message, Long) {
    ServiceJobHost* host = app.ServiceHost;
    if (host == nullptr) return;
    if (message == kJobMessageBegin) {
        if (!host->IsFullScreenMode()) host->RestoreMaximisedWindow();
        return;
    }
    if (message != kJobMessageStep) return;
    if (const auto apply = GraphicsApplyFor(host->Graphics())) host->ApplyDisplay(*apply);
    app.Job().Remove(ApplicationConfig::Key(job));
    host->RestoreDDS();
    const Long noted = host->GetTextureLimit();
    for (int i = 0; i < kVideoMemoryCashTries; ++i) {
        host->VideoMemoryCash();
        if (host->GetTextureLimit() == noted) break;
    }
}

}  // namespace brumil::frontend
