#pragma once
// Draws Dear ImGui's output with an SDL renderer: the font atlas as one
// texture, every draw list as clipped triangle lists through
// SDL_RenderGeometryRaw.

struct SDL_Renderer;
struct SDL_Texture;
struct ImDrawData;

namespace brumil::platform {

class ImGuiSdlDraw {
public:
    explicit ImGuiSdlDraw(SDL_Renderer* renderer) : renderer_(renderer) {}
    ~ImGuiSdlDraw();
    ImGuiSdlDraw(const ImGuiSdlDraw&) = delete;
    ImGuiSdlDraw& operator=(const ImGuiSdlDraw&) = delete;

    // Builds the font texture on first use; call before ImGui::NewFrame.
    void NewFrame();
    // Drops the font texture: the next NewFrame makes it again from the
    // atlas (after fonts were added).
    void ResetFont();
    void Render(ImDrawData* data);

private:
    SDL_Renderer* renderer_;
    SDL_Texture* font_ = nullptr;
};

}  // namespace brumil::platform
