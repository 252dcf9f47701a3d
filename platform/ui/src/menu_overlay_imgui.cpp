// The menu overlay on Dear ImGui's SDL and SDL_Renderer back-ends, drawn into
// the SDL window's renderer from its overlay hook and fed from its event hook.
#include <SDL.h>
#include <backends/imgui_impl_sdl.h>
#include <imgui.h>

#include "imgui_sdl_draw.h"
#include "overlay_hold.h"
#include "overlay_pointer.h"
#include "overlay_windows.h"
#include "platform/base/sdl_window.h"
#include "platform/ui/menu_overlay.h"

namespace brumil::platform {

namespace {

// Glyphs beyond the captions: ASCII, the kana and the full-width forms, so
// log lines and numbers show as well.
const ImWchar kBaseRanges[] = {0x0020, 0x00FF, 0x3000, 0x30FF, 0xFF00, 0xFFEF, 0};

OverlayKey KeyOf(SDL_Keycode key) {
    switch (key) {
        case SDLK_F1:
            return OverlayKey::F1;
        case SDLK_F5:
            return OverlayKey::F5;
        case SDLK_LALT:
        case SDLK_RALT:
            return OverlayKey::Alt;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return OverlayKey::Enter;
        default:
            return OverlayKey::Other;
    }
}

bool IsMouseEvent(const SDL_Event& e) {
    return e.type == SDL_MOUSEMOTION || e.type == SDL_MOUSEBUTTONDOWN ||
           e.type == SDL_MOUSEBUTTONUP || e.type == SDL_MOUSEWHEEL;
}

class ImGuiMenuOverlay final : public MenuOverlay {
public:
    ImGuiMenuOverlay(SdlWindow& window, const OverlayFont& font, OverlayClient& client)
        : window_(window), client_(client) {
        IMGUI_CHECKVERSION();
        context_ = ImGui::CreateContext();
        ImGuiIO& io = ImGui::GetIO();
        io.IniFilename = nullptr;
        io.LogFilename = nullptr;
        // No keyboard or gamepad navigation: Alt and every other key belong
        // to the window's own handlers.
        io.ConfigFlags &= ~(ImGuiConfigFlags_NavEnableKeyboard | ImGuiConfigFlags_NavEnableGamepad);
        ImGui::StyleColorsLight();
        ImGuiStyle& style = ImGui::GetStyle();
        style.WindowRounding = 0.0f;
        style.FramePadding.y = 3.0f;
        LoadFont(font);
        ImGui_ImplSDL2_InitForSDLRenderer(window_.Handle());
        draw_ = std::make_unique<ImGuiSdlDraw>(window_.Renderer());
        barHeight_ = static_cast<int>(fontSize_ + style.FramePadding.y * 2.0f);
        window_.SetTopInset(barHeight_);
        window_.SetEventHook([this](const SDL_Event& e) { return OnEvent(e); });
        window_.SetOverlay([this] { Draw(); });
        SDL_StopTextInput();
    }

    ~ImGuiMenuOverlay() override {
        window_.SetOverlay({});
        window_.SetEventHook({});
        window_.SetTopInset(0);
        draw_.reset();
        ImGui_ImplSDL2_Shutdown();
        ImGui::DestroyContext(context_);
    }

    int BarHeight() const override { return barHeight_; }

    void PictureOrigin(int& x, int& y) const override {
        int wx = 0, wy = 0, w = 0, h = 0, px = 0, py = 0;
        SDL_GetWindowPosition(window_.Handle(), &wx, &wy);
        window_.PictureRect(px, py, w, h);
        x = wx + px;
        y = wy + py;
    }

    void ScreenSize(int& width, int& height) const override {
        SDL_Rect r{};
        const int display = SDL_GetWindowDisplayIndex(window_.Handle());
        if (display < 0 || SDL_GetDisplayBounds(display, &r) != 0) r = SDL_Rect{};
        width = r.w;
        height = r.h;
    }

    void AddWindow(OverlayWindow& window) override { windows_.Add(window); }
    void RemoveWindow(OverlayWindow& window) override { windows_.Remove(window); }

    bool MenuInUse() const override {
        if (dropDownOpen_) return true;
        // Over the bar as last drawn, wherever the pointer went since.
        float x = 0.0f, y = 0.0f;
        return barShownLast_ && pointer_.Position(x, y) && x >= barMin_.x && x < barMax_.x &&
               y >= barMin_.y && y < barMax_.y;
    }

    void FrameDone() override {
        if (window_.PresentationCount() == seenPresentations_) window_.Redraw();
        seenPresentations_ = window_.PresentationCount();
    }

private:
    void LoadFont(const OverlayFont& font) {
        ImGuiIO& io = ImGui::GetIO();
        ImFontGlyphRangesBuilder builder;
        builder.AddRanges(kBaseRanges);
        builder.AddText(font.glyphs.c_str(), font.glyphs.c_str() + font.glyphs.size());
        // The log shows names and chat from anyone.
        builder.AddRanges(io.Fonts->GetGlyphRangesJapanese());
        builder.BuildRanges(&ranges_);
        fontSize_ = font.size;
        ImFontConfig config;
        config.FontNo = font.index;
        ImFont* loaded = nullptr;
        std::error_code ec;
        if (!font.file.empty() && std::filesystem::exists(font.file, ec)) {
            loaded = io.Fonts->AddFontFromFileTTF(font.file.string().c_str(), font.size, &config,
                                                  ranges_.Data);
        }
        // Without a face the built-in font still shows the ASCII captions.
        if (loaded == nullptr) {
            io.Fonts->AddFontDefault();
            fontSize_ = 13.0f;
        }
    }

    bool OnEvent(const SDL_Event& e) {
        ImGui::SetCurrentContext(context_);
        pointer_.OnEvent(e);
        const bool typing = ImGui::GetIO().WantTextInput;
        switch (e.type) {
            case SDL_KEYDOWN:
                // A text field with the focus takes the keys: neither the
                // window's own handlers nor the game see them. A window that
                // reads the keys itself (the key configuration) keeps them
                // from the handlers only.
                if (typing) {
                    ImGui_ImplSDL2_ProcessEvent(&e);
                    return true;
                }
                if (windows_.CapturesKeys()) return false;
                if (e.key.repeat == 0) client_.KeyDown(KeyOf(e.key.keysym.sym));
                return false;  // the game reads the keyboard as well
            case SDL_KEYUP:
                if (typing) {
                    ImGui_ImplSDL2_ProcessEvent(&e);
                    return true;
                }
                if (windows_.CapturesKeys()) return false;
                client_.KeyUp(KeyOf(e.key.keysym.sym), (e.key.keysym.mod & KMOD_ALT) != 0);
                return false;
            case SDL_TEXTINPUT:
            case SDL_TEXTEDITING:
                if (typing) ImGui_ImplSDL2_ProcessEvent(&e);
                return typing;
            case SDL_WINDOWEVENT:
                if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST && barShown_) {
                    barShown_ = false;
                    client_.BarLostFocus();
                }
                ImGui_ImplSDL2_ProcessEvent(&e);
                return false;
            default:
                break;
        }
        if (!IsMouseEvent(e)) return false;
        ImGui_ImplSDL2_ProcessEvent(&e);
        return hold_.Takes(e);
    }

    void Draw() {
        ImGui::SetCurrentContext(context_);
        const OverlayFrame frame = client_.Describe();
        const bool full = window_.IsFullScreen();
        barShown_ = full && frame.fullScreenBarShown;
        if (windows_.LoadFonts()) draw_->ResetFont();
        draw_->NewFrame();
        ImGui_ImplSDL2_NewFrame();
        pointer_.Apply(ImGui::GetIO());  // in place of the back-end's guess
        ImGui::NewFrame();
        dropDownOpen_ = false;
        barShownLast_ = !full || barShown_;
        if (barShownLast_) DrawBar(frame);
        if (frame.logVisible && frame.logText != nullptr) DrawLog(*frame.logText);
        if (!windows_.Empty()) windows_.Draw(WindowPlace());
        ImGui::Render();
        hold_.FrameDrawn();
        draw_->Render(ImGui::GetDrawData());
        FollowTextInput(ImGui::GetIO().WantTextInput);
    }

    // The system's text input (with its input method) runs only while a text
    // field has the focus.
    void FollowTextInput(bool wanted) {
        if (wanted == textInput_) return;
        textInput_ = wanted;
        if (wanted) {
            SDL_StartTextInput();
        } else {
            SDL_StopTextInput();
        }
    }

    void DrawBar(const OverlayFrame& frame) {
        if (!ImGui::BeginMainMenuBar()) return;
        barMin_ = ImGui::GetWindowPos();
        barMax_ =
            ImVec2(barMin_.x + ImGui::GetWindowSize().x, barMin_.y + ImGui::GetWindowSize().y);
        for (std::size_t m = 0; m < frame.menus.size(); ++m) {
            const OverlayMenu& menu = frame.menus[m];
            ImGui::PushID(static_cast<int>(m));
            if (ImGui::BeginMenu(menu.caption.c_str(), menu.enabled)) {
                dropDownOpen_ = true;
                for (std::size_t i = 0; i < menu.items.size(); ++i) {
                    const OverlayItem& item = menu.items[i];
                    ImGui::PushID(static_cast<int>(i));
                    if (item.separator) {
                        ImGui::Separator();
                    } else if (ImGui::MenuItem(item.caption.c_str(), nullptr, item.checked,
                                               item.enabled)) {
                        client_.MenuItemChosen(static_cast<int>(m), static_cast<int>(i));
                    }
                    ImGui::PopID();
                }
                ImGui::EndMenu();
            }
            ImGui::PopID();
        }
        ImGui::EndMainMenuBar();
    }

    OverlayPlace WindowPlace() const {
        OverlayPlace place;
        SDL_GetWindowPosition(window_.Handle(), &place.clientScreenX, &place.clientScreenY);
        window_.PictureRect(place.pictureX, place.pictureY, place.pictureWidth,
                            place.pictureHeight);
        return place;
    }

    void DrawLog(const std::string& text) {
        int px = 0, py = 0, pw = 0, ph = 0;
        window_.PictureRect(px, py, pw, ph);
        const float height = static_cast<float>(ph) * 0.25f;
        ImGui::SetNextWindowPos(ImVec2(float(px), float(py + ph) - height));
        ImGui::SetNextWindowSize(ImVec2(float(pw), height));
        ImGui::SetNextWindowBgAlpha(0.75f);
        const ImGuiWindowFlags flags = ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove |
                                       ImGuiWindowFlags_NoSavedSettings |
                                       ImGuiWindowFlags_NoFocusOnAppearing;
        if (ImGui::Begin("##log", nullptr, flags)) {
            ImGui::TextUnformatted(text.c_str(), text.c_str() + text.size());
            // The newest line shows whenever the text changed.
            if (text.size() != shownLogSize_ || text != shownLog_) {
                ImGui::SetScrollHereY(1.0f);
                shownLog_ = text;
                shownLogSize_ = text.size();
            }
        }
        ImGui::End();
    }

    SdlWindow& window_;
    OverlayClient& client_;
    ImGuiContext* context_ = nullptr;
    std::unique_ptr<ImGuiSdlDraw> draw_;
    OverlayPointer pointer_;
    OverlayHold hold_;
    ImVector<ImWchar> ranges_;  // must outlive the font atlas
    float fontSize_ = 14.0f;
    int barHeight_ = 0;
    bool barShown_ = false;
    bool textInput_ = false;
    // The bar and its drop-downs as the last frame drew them.
    bool barShownLast_ = false;
    bool dropDownOpen_ = false;
    ImVec2 barMin_;
    ImVec2 barMax_;
    std::uint64_t seenPresentations_ = 0;
    OverlayWindows windows_;  // its glyph ranges outlive the atlas, freed in the destructor body
    std::string shownLog_;
    std::size_t shownLogSize_ = 0;
};

}  // namespace

std::unique_ptr<MenuOverlay> AttachMenuOverlay(Window& window, const OverlayFont& font,
                                               OverlayClient& client) {
    auto* sdl = dynamic_cast<SdlWindow*>(&window);
    if (sdl == nullptr) return nullptr;
    return std::make_unique<ImGuiMenuOverlay>(*sdl, font, client);
}

}  // namespace brumil::platform
