#include <SDL.h>
#include <SDL_syswm.h>
#include <dlfcn.h>

#include <algorithm>
#include <atomic>
#include <cstring>

#include "platform/base/error_line.h"
#include "platform/base/headless_window.h"
#include "platform/base/sdl_subsystems.h"
#include "platform/base/sdl_window.h"

namespace brumil::platform {

namespace {
constexpr int kLogicalWidth = 640;
constexpr int kLogicalHeight = 480;

// ---- Losing the display ------------------------------------------------------
//
// When the X server goes away, Xlib's own handler ends the process with exit()
// from inside whatever call noticed it. The static destructors then tear the
// window down over the dead connection, and the hide that precedes a window's
// destruction waits for an answer that never comes: the process spins instead
// of ending, and nothing is saved. So the connection's fatal error only marks
// the display lost and lets Xlib return; the window reports the loss as a
// close, the game shuts down its usual way, and from then on no call of the
// window reaches the display.
//
// Xlib is loaded by SDL, so its two setters are looked up in the library that
// is already there rather than linked.

using XDisplay = void;  // opaque here
using IoErrorHandler = int (*)(XDisplay*);
using SetIoErrorHandlerFn = IoErrorHandler (*)(IoErrorHandler);
using IoErrorExitHandler = void (*)(XDisplay*, void*);
using SetIoErrorExitHandlerFn = void (*)(XDisplay*, IoErrorExitHandler, void*);

// The handlers Xlib calls carry no window, and there is one display
// connection per process: the mark is process-wide.
std::atomic<bool> gDisplayLost{false};

bool DisplayLost() {
    return gDisplayLost.load(std::memory_order_acquire);
}

int OnIoError(XDisplay*) {
    if (!gDisplayLost.exchange(true, std::memory_order_acq_rel)) {
        WriteErrorLine("The connection to the display was lost; shutting down.");
    }
    return 0;
}

// Called by Xlib in place of exit(): returning hands control back to the
// caller with the connection marked broken.
void OnIoErrorExit(XDisplay*, void*) {
    gDisplayLost.store(true, std::memory_order_release);
}

struct XlibHooks {
    SetIoErrorHandlerFn setIoErrorHandler = nullptr;
    SetIoErrorExitHandlerFn setIoErrorExitHandler = nullptr;
    IoErrorHandler previous = nullptr;
    bool installed = false;
};

XlibHooks& Hooks() {
    static XlibHooks hooks;
    return hooks;
}

// Installs the handlers on the window's X display. Without the exit handler
// (an Xlib older than 1.7) Xlib still exits after the first handler; the mark
// then at least keeps the exit from touching the dead connection.
void InstallDisplayLossHooks(SDL_Window* window) {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr || std::strcmp(driver, "x11") != 0) return;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) return;
    void* lib = dlopen("libX11.so.6", RTLD_NOW | RTLD_NOLOAD);
    if (lib == nullptr) return;
    XlibHooks& h = Hooks();
    h.setIoErrorHandler = reinterpret_cast<SetIoErrorHandlerFn>(dlsym(lib, "XSetIOErrorHandler"));
    h.setIoErrorExitHandler =
        reinterpret_cast<SetIoErrorExitHandlerFn>(dlsym(lib, "XSetIOErrorExitHandler"));
    dlclose(lib);  // still held by SDL
    if (h.setIoErrorHandler == nullptr) return;
    gDisplayLost.store(false, std::memory_order_release);
    if (h.setIoErrorExitHandler != nullptr) {
        h.setIoErrorExitHandler(info.info.x11.display, &OnIoErrorExit, nullptr);
    }
    h.previous = h.setIoErrorHandler(&OnIoError);
    h.installed = true;
}

void RemoveDisplayLossHooks() {
    XlibHooks& h = Hooks();
    if (!h.installed) return;
    h.setIoErrorHandler(h.previous);
    h.installed = false;
}

// A window of `width` x `height`, centred on the display it is on.
void PlaceWindowed(SDL_Window* window, int width, int height) {
    const int display = std::max(SDL_GetWindowDisplayIndex(window), 0);
    SDL_SetWindowSize(window, width, height);
    SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED_DISPLAY(display),
                          SDL_WINDOWPOS_CENTERED_DISPLAY(display));
}

// Switches between the whole display and a centred window of `width` x
// `height`; answers whether the window is now full screen.
bool SwitchScreenMode(SDL_Window* window, bool fullScreen, int width, int height) {
    if (fullScreen) {
        // A window manager grows a full-screen window itself. Without one the
        // window keeps its size while SDL lays the output out for the whole
        // display, and the picture comes out enlarged and cut off. Covering
        // the display first makes the two agree either way.
        SDL_Rect bounds{};
        const int display = std::max(SDL_GetWindowDisplayIndex(window), 0);
        if (SDL_GetDisplayBounds(display, &bounds) == 0) {
            SDL_SetWindowPosition(window, bounds.x, bounds.y);
            SDL_SetWindowSize(window, bounds.w, bounds.h);
        }
        if (SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0) return true;
    } else if (SDL_SetWindowFullscreen(window, 0) != 0) {
        return true;  // refused: still full screen
    }
    PlaceWindowed(window, width, height);
    return false;
}
}  // namespace

std::unique_ptr<SdlWindow> SdlWindow::Open(const WindowSettings& settings) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return nullptr;
    std::unique_ptr<SdlWindow> w(new SdlWindow());
    // Opened as a window; full screen comes through the same switch as later
    // changes, so the first full-screen picture is laid out like the others.
    const Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
    w->window_ = SDL_CreateWindow(settings.title.c_str(), SDL_WINDOWPOS_CENTERED,
                                  SDL_WINDOWPOS_CENTERED, kLogicalWidth, kLogicalHeight, flags);
    if (w->window_ == nullptr) {
        ReleaseSdlSubSystem(SDL_INIT_VIDEO);
        return nullptr;
    }
    Uint32 rflags = SDL_RENDERER_ACCELERATED | (settings.vsync ? SDL_RENDERER_PRESENTVSYNC : 0);
    w->renderer_ = SDL_CreateRenderer(w->window_, -1, rflags);
    if (w->renderer_ == nullptr)
        w->renderer_ = SDL_CreateRenderer(w->window_, -1, SDL_RENDERER_SOFTWARE);
    if (w->renderer_ == nullptr) return nullptr;  // the destructor closes the window
    w->linear_ = settings.linearFilter;
    if (settings.fullScreen) {
        w->fullScreen_ = SwitchScreenMode(w->window_, true, kLogicalWidth, kLogicalHeight);
    }
    w->pendingFullScreen_ = w->fullScreen_;
    InstallDisplayLossHooks(w->window_);
    int mx = 0, my = 0;
    SDL_GetMouseState(&mx, &my);
    w->TrackPointer(mx, my);
    return w;
}

SdlWindow::~SdlWindow() {
    // Over a lost display every teardown call would wait on the dead
    // connection; the handles go with the process, and the video subsystem
    // stays up so that no later SDL_Quit tears them down either.
    if (DisplayLost()) return;
    RemoveDisplayLossHooks();
    if (texture_ != nullptr) SDL_DestroyTexture(texture_);
    if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    ReleaseSdlSubSystem(SDL_INIT_VIDEO);
}

SdlWindow::Area SdlWindow::PictureArea(int outW, int outH) {
    // Largest 4:3 rectangle that fits, centred; bars fill the rest.
    int w = outW;
    int h = outW * kLogicalHeight / kLogicalWidth;
    if (h > outH) {
        h = outH;
        w = outH * kLogicalWidth / kLogicalHeight;
    }
    return {(outW - w) / 2, (outH - h) / 2, std::max(w, 1), std::max(h, 1)};
}

void SdlWindow::Present(std::span<const std::uint32_t> argb, int width, int height, int pitch) {
    CopyToFrame(argb, width, height, pitch, last_);
    if (last_.argb.empty() || DisplayLost()) return;
    if (texture_ == nullptr || textureW_ != width || textureH_ != height) {
        if (texture_ != nullptr) SDL_DestroyTexture(texture_);
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888,
                                     SDL_TEXTUREACCESS_STREAMING, width, height);
        textureW_ = width;
        textureH_ = height;
        if (texture_ == nullptr) return;
        SDL_SetTextureScaleMode(texture_, linear_ ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    }
    SDL_UpdateTexture(texture_, nullptr, last_.argb.data(), width * int(sizeof(std::uint32_t)));
    Redraw();
}

void SdlWindow::Redraw() {
    if (DisplayLost()) return;
    int outW = 0, outH = 0;
    SDL_GetRendererOutputSize(renderer_, &outW, &outH);
    const int inset = TopInset();
    Area a = PictureArea(outW, std::max(outH - inset, 1));
    a.y += inset;
    const SDL_Rect dst{a.x, a.y, a.w, a.h};
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    if (texture_ != nullptr) SDL_RenderCopy(renderer_, texture_, nullptr, &dst);
    if (overlay_) overlay_();
    SDL_RenderPresent(renderer_);
    ++presentations_;
}

void SdlWindow::SetTitle(const std::string& title) {
    if (DisplayLost()) return;
    SDL_SetWindowTitle(window_, title.c_str());
}

void SdlWindow::SetTopInset(int rows) {
    topInset_ = std::max(rows, 0);
    if (!fullScreen_ && !DisplayLost())
        SDL_SetWindowSize(window_, kLogicalWidth, kLogicalHeight + topInset_);
}

void SdlWindow::PictureRect(int& x, int& y, int& w, int& h) const {
    int winW = 0, winH = 0;
    SDL_GetWindowSize(window_, &winW, &winH);
    const int inset = TopInset();
    const Area a = PictureArea(std::max(winW, 1), std::max(winH - inset, 1));
    x = a.x;
    y = a.y + inset;
    w = a.w;
    h = a.h;
}

void SdlWindow::TrackPointer(int windowX, int windowY) {
    Area a{};
    PictureRect(a.x, a.y, a.w, a.h);
    pointer_.screenX = windowX;
    pointer_.screenY = windowY;
    pointer_.x = std::clamp(float(windowX - a.x) / float(a.w), 0.0f, 1.0f);
    pointer_.y = std::clamp(float(windowY - a.y) / float(a.h), 0.0f, 1.0f);
}

WindowEvents SdlWindow::PumpEvents() {
    WindowEvents events;
    SDL_Event e;
    // SDL_QUIT is a close like the close box: SDL sends it for the last
    // window's close and for SIGTERM and SIGINT.
    while (!DisplayLost() && SDL_PollEvent(&e) != 0) {
        const bool taken = eventHook_ && eventHook_(e);
        NoteCapture(e, taken);
        if (taken) continue;
        switch (e.type) {
            case SDL_QUIT:
                events.closeRequested = true;
                break;
            case SDL_WINDOWEVENT:
                if (e.window.event == SDL_WINDOWEVENT_CLOSE) events.closeRequested = true;
                if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) events.focusLost = true;
                if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) events.focusGained = true;
                break;
            case SDL_MOUSEMOTION:
                pointer_.moved = true;
                TrackPointer(e.motion.x, e.motion.y);
                break;
            case SDL_MOUSEWHEEL:
                pointer_.wheel +=
                    e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
                break;
            default:
                break;
        }
    }
    if (DisplayLost()) {
        events.closeRequested = true;
        events.displayLost = true;
    }
    return events;
}

PointerActivity SdlWindow::TakePointerActivity() {
    PointerActivity p = pointer_;
    pointer_.wheel = 0;
    pointer_.moved = false;
    return p;
}

bool SdlWindow::ApplyPendingMode() {
    if (pendingFullScreen_ == fullScreen_ || DisplayLost()) return false;
    // Back in a window: the picture plus the rows kept for the menu bar.
    const bool full =
        SwitchScreenMode(window_, pendingFullScreen_, kLogicalWidth, kLogicalHeight + topInset_);
    pendingFullScreen_ = full;  // a refused switch leaves the mode as it was
    if (full == fullScreen_) return false;
    fullScreen_ = full;
    return true;
}

std::string VideoUnavailableReason() {
    if (HeadlessRequested()) return {};
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return SDL_GetError();
    ReleaseSdlSubSystem(SDL_INIT_VIDEO);
    return {};
}

std::unique_ptr<Window> OpenWindow(const WindowSettings& settings) {
    if (!HeadlessRequested()) {
        if (auto w = SdlWindow::Open(settings)) return w;
    }
    return std::make_unique<HeadlessWindow>(settings);
}

}  // namespace brumil::platform
