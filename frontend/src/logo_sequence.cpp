#include "frontend/logo_sequence.h"

#include <algorithm>
#include <memory>

#include "framework/job_list.h"
#include "frontend/application_config.h"
#include "frontend/screen_host.h"
#include "frontend/view.h"
#include "image/cmg_bbi_function.h"

namespace brumil::frontend {

using framework::kJobMessageBegin;
using framework::kJobMessageEnd;
using framework::kJobMessageStep;
namespace {

constexpr Long kScreenWidth = 640;
constexpr Long kScreenHeight = 480;
// Any step number at or past the end works; a skip uses this one.
constexpr Long kSkipStep = 99;
// Sharpness of the stencil wipe: small values reveal the mask's low values
// first instead of cross-fading.
constexpr Single kStencilSoftness = 0.1f;
// Brightness stretch of the mask, percent.
constexpr Long kMaskAutoLevel = 50;

image::CmgBBIFunction& Fx() {
    return image::gBBIFunction();
}

// Keeps the scaled picture at the back surface's size for the scale; none at
// scale 1.0.
void FitScaledPicture(ScreenState& st, Single scale) {
    if (scale == 1.0f) {
        st.ScaledPicture.reset();
        return;
    }
    const Long width = RoundToLong(static_cast<double>(kScreenWidth) * scale);
    const Long height = RoundToLong(static_cast<double>(kScreenHeight) * scale);
    if (!st.ScaledPicture) st.ScaledPicture.emplace();
    st.ScaledPicture->CreateBBI(width, height);
}

class Logo {
public:
    Logo(ApplicationConfig& app, ScreenHost& host) : app_(app), host_(host), st_(app.State) {}

    void Begin() {
        st_.LogoStep = 0;
        st_.LogoFrame = 0;
        st_.CurrentPicture.CreateBBI(kScreenWidth, kScreenHeight);
        Fx().BBILinearBlt(st_.CurrentPicture, app_.WorkPicture);
    }

    void End() {
        st_.ScaledPicture.reset();
        st_.CurrentPicture = image::CmgBBI();
        st_.FromPicture = image::CmgBBI();
        st_.ToPicture = image::CmgBBI();
        st_.MaskPicture = image::CmgBBI();
        app_.CurrentView.reset();
    }

    void Step() {
        if (SkipPressed()) st_.LogoStep = kSkipStep;
        switch (st_.LogoStep) {
            case 0:
                SetUp();
                Advance();
                break;
            case 1:
                ++st_.LogoFrame;
                if (host_.PaintDisable()) break;
                DrawFade();
                if (st_.LogoFrame >= kLogoFadeSteps) Advance();
                break;
            case 2:
                ++st_.LogoFrame;
                if (st_.LogoFrame >= kLogoHoldSteps) {
                    st_.LogoStep = kLogoEndStep;
                    st_.LogoFrame = 0;
                }
                break;
            default:
                if (st_.LogoStep >= kLogoEndStep) HandOver();
                break;
        }
    }

private:
    void Advance() {
        ++st_.LogoStep;
        st_.LogoFrame = 0;
    }

    bool SkipPressed() {
        if (!app_.CurrentView) app_.CurrentView = std::make_unique<CView>(host_.FrameHost());
        CView& v = *app_.CurrentView;
        Long bits = 0;
        // A pointer moving over no item must not take the step's report from
        // a key pressed at the same time, so the mouse never picks "none".
        v.InterfaceMouse(bits, false);
        v.InterfaceKeyboard(bits, false, false);
        v.InterfaceVKey(bits, 0, false, false);
        v.InterfaceVKey(bits, 1, false, false);
        return (bits & (kViewAccept | kViewCancel)) != 0;
    }

    void SetUp() {
        FitScaledPicture(st_, host_.GetDrawScale());
        st_.FromPicture.CreateBBI(kScreenWidth, kScreenHeight);
        st_.ToPicture.CreateBBI(kScreenWidth, kScreenHeight);
        st_.MaskPicture.CreateBBI(kScreenWidth, kScreenHeight);
        const std::shared_ptr<const image::CmgBBI> logo = host_.TexturePicture("pelmor logo w3");
        Fx().BBIBlt(st_.ToPicture, *logo, 0, 0, 0, 0, 0, 0, 1.0f);
        // The stencil: the inverted, brightness-stretched start picture, so
        // its dark parts give way to the logo first.
        Fx().BBIBlt(st_.MaskPicture, st_.CurrentPicture, 0, 0, 0, 0, 0, 0, 1.0f);
        Fx().BBIAutoLevelRGB(st_.MaskPicture, kMaskAutoLevel);
        Fx().BBIBltNot(st_.MaskPicture, st_.MaskPicture);
        Fx().BBIChooseCA(st_.ToPicture, st_.MaskPicture, 2, 0);
        Fx().BBIBlt(st_.FromPicture, st_.CurrentPicture, 0, 0, 0, 0, 0, 0, 1.0f);
    }

    void DrawFade() {
        Fx().BBIStencilFlip(st_.CurrentPicture, st_.FromPicture, st_.ToPicture, 0, 0, kScreenWidth,
                            kScreenHeight, 0, 0, 0, LogoFadeProgress(st_.LogoFrame),
                            kStencilSoftness);
        platform::Surface* back = host_.BackSurface();
        const Single scale = host_.GetDrawScale();
        if (scale == 1.0f) {
            st_.ScaledPicture.reset();
            st_.CurrentPicture.BltToDDS(back, 0, 0);
        } else {
            // The display may have changed its mode since the set-up.
            FitScaledPicture(st_, scale);
            image::CmgBBI& scaled = *st_.ScaledPicture;
            Fx().BBILinearBlt(scaled, st_.CurrentPicture, 0, 0, scaled.GetWidth(),
                              scaled.GetHeight(), 0, 0, kScreenWidth, kScreenHeight);
            scaled.BltToDDS(back, 0, 0);
        }
        host_.RePaint();
    }

    void HandOver() {
        app_.Job().Remove(ApplicationConfig::Key(kLogoJob));
        app_.Job().Add(ApplicationConfig::Key(kTitleJob), framework::kJobKindNormal);
        app_.WorkPicture.CreateBBI(kScreenWidth, kScreenHeight);
        Fx().BBIBlt(app_.WorkPicture, st_.CurrentPicture, 0, 0, 0, 0, 0, 0, 1.0f);
    }

    ApplicationConfig& app_;
    ScreenHost& host_;
    ScreenState& st_;
};

}  // namespace

Single LogoFadeProgress(Long frame) {
    const Single t = static_cast<Single>(frame) / static_cast<Single>(kLogoFadeSteps);
    return std::clamp(t, 0.0f, 1.0f);
}

void AppJob10_Logo(ApplicationConfig& app, Long, Long message, Long) {
    if (app.Screens == nullptr) return;
    Logo logo(app, *app.Screens);
    switch (message) {
        case kJobMessageBegin:
            logo.Begin();
            break;
        case kJobMessageEnd:
            logo.End();
            break;
        case kJobMessageStep:
            logo.Step();
            break;
        default:
            break;
    }
}

}  // namespace brumil::frontend
