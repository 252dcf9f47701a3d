#pragma once
// The SDL window behind platform::Window, for the other platform stand-ins
// only (the menu and dialog overlay draws into the same renderer and sees the
// same events). Code outside platform/ uses platform::Window.

#include <functional>
#include <memory>

#include "platform/base/window.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
union SDL_Event;

namespace brumil::platform {

class SdlWindow final : public Window {
public:
    // Opens the window; nullptr when SDL cannot open one.
    static std::unique_ptr<SdlWindow> Open(const WindowSettings& settings);
    ~SdlWindow() override;
    SdlWindow(const SdlWindow&) = delete;
    SdlWindow& operator=(const SdlWindow&) = delete;

    void Present(std::span<const std::uint32_t> argb, int width, int height, int pitch) override;
    const PresentedFrame& LastFrame() const override { return last_; }
    bool IsHeadless() const override { return false; }
    bool IsFullScreen() const override { return fullScreen_; }
    void SetTitle(const std::string& title) override;
    WindowEvents PumpEvents() override;
    PointerActivity TakePointerActivity() override;
    void RequestFullScreen(bool fullScreen) override { pendingFullScreen_ = fullScreen; }
    bool ApplyPendingMode() override;
    CapturedInput TakeCapturedInput() override;
    WindowSizeState SizeState() const override;
    void RestoreNormalSize() override;

    SDL_Window* Handle() const { return window_; }
    // The window's client size in window pixels.
    void ClientSize(int& width, int& height) const;

    // Test interface: queues pointer events at a client position as if the
    // system had sent them; the next PumpEvents delivers them.
    void InjectPointerMotion(int x, int y);
    void InjectPointerButton(int x, int y, bool down);
    SDL_Renderer* Renderer() const { return renderer_; }
    // Sees every event first; answering true keeps the event from the game.
    void SetEventHook(std::function<bool(const SDL_Event&)> hook) { eventHook_ = std::move(hook); }
    // Draws over the picture just before each presentation.
    void SetOverlay(std::function<void()> overlay) { overlay_ = std::move(overlay); }
    // Rows at the top of the window kept for the menu bar in window mode: the
    // window grows by them and the picture and the pointer sit below them.
    // Full screen keeps the whole screen for the picture.
    void SetTopInset(int rows);
    int TopInset() const { return fullScreen_ ? 0 : topInset_; }
    // The picture's rectangle in the window's client coordinates.
    void PictureRect(int& x, int& y, int& w, int& h) const;
    // Shows the last picture again with the overlay: for frames in which the
    // game presented nothing but the overlay may have changed.
    void Redraw();
    // Presentations so far (Present and Redraw).
    std::uint64_t PresentationCount() const { return presentations_; }

private:
    SdlWindow() = default;
    // The rectangle of `outW` x `outH` in which the 4:3 picture is shown.
    struct Area {
        int x, y, w, h;
    };
    static Area PictureArea(int outW, int outH);
    void TrackPointer(int windowX, int windowY);
    // Keeps account of the presses the event hook took (`taken`) and of
    // every release.
    void NoteCapture(const SDL_Event& e, bool taken);

    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    int textureW_ = 0;
    int textureH_ = 0;
    bool linear_ = true;
    bool fullScreen_ = false;
    bool pendingFullScreen_ = false;
    int topInset_ = 0;
    std::uint64_t presentations_ = 0;
    PresentedFrame last_;
    PointerActivity pointer_;
    CapturedInput capturedHeld_;   // taken presses not yet released
    CapturedInput capturedSince_;  // taken since the last TakeCapturedInput
    std::function<bool(const SDL_Event&)> eventHook_;
    std::function<void()> overlay_;
};

}  // namespace brumil::platform
