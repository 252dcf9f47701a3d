#include "imgui_sdl_draw.h"

#include <SDL.h>
#include <imgui.h>

#include <algorithm>

namespace brumil::platform {

ImGuiSdlDraw::~ImGuiSdlDraw() {
    if (font_ != nullptr) {
        ImGui::GetIO().Fonts->SetTexID(nullptr);
        SDL_DestroyTexture(font_);
    }
}

void ImGuiSdlDraw::ResetFont() {
    if (font_ == nullptr) return;
    ImGui::GetIO().Fonts->SetTexID(nullptr);
    SDL_DestroyTexture(font_);
    font_ = nullptr;
}

void ImGuiSdlDraw::NewFrame() {
    if (font_ != nullptr) return;
    ImGuiIO& io = ImGui::GetIO();
    unsigned char* pixels = nullptr;
    int w = 0, h = 0;
    io.Fonts->GetTexDataAsRGBA32(&pixels, &w, &h);
    font_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STATIC, w, h);
    if (font_ == nullptr) return;
    SDL_UpdateTexture(font_, nullptr, pixels, w * 4);
    SDL_SetTextureBlendMode(font_, SDL_BLENDMODE_BLEND);
    SDL_SetTextureScaleMode(font_, SDL_ScaleModeLinear);
    io.Fonts->SetTexID(static_cast<ImTextureID>(font_));
}

void ImGuiSdlDraw::Render(ImDrawData* data) {
    if (data == nullptr || data->CmdListsCount == 0) return;
    SDL_Rect oldClip;
    const bool hadClip = SDL_RenderIsClipEnabled(renderer_) == SDL_TRUE;
    SDL_RenderGetClipRect(renderer_, &oldClip);
    const ImVec2 origin = data->DisplayPos;
    for (int n = 0; n < data->CmdListsCount; ++n) {
        const ImDrawList* list = data->CmdLists[n];
        const ImDrawVert* verts = list->VtxBuffer.Data;
        const ImDrawIdx* indices = list->IdxBuffer.Data;
        for (const ImDrawCmd& cmd : list->CmdBuffer) {
            if (cmd.UserCallback != nullptr) {
                cmd.UserCallback(list, &cmd);
                continue;
            }
            const float x0 = std::max(cmd.ClipRect.x - origin.x, 0.0f);
            const float y0 = std::max(cmd.ClipRect.y - origin.y, 0.0f);
            const float x1 = cmd.ClipRect.z - origin.x;
            const float y1 = cmd.ClipRect.w - origin.y;
            if (x1 <= x0 || y1 <= y0) continue;
            const SDL_Rect clip{int(x0), int(y0), int(x1 - x0), int(y1 - y0)};
            SDL_RenderSetClipRect(renderer_, &clip);
            const ImDrawVert* first = verts + cmd.VtxOffset;
            const int stride = int(sizeof(ImDrawVert));
            SDL_RenderGeometryRaw(
                renderer_, static_cast<SDL_Texture*>(cmd.GetTexID()),
                reinterpret_cast<const float*>(reinterpret_cast<const char*>(first) +
                                               offsetof(ImDrawVert, pos)),
                stride,
                reinterpret_cast<const SDL_Color*>(reinterpret_cast<const char*>(first) +
                                                   offsetof(ImDrawVert, col)),
                stride,
                reinterpret_cast<const float*>(reinterpret_cast<const char*>(first) +
                                               offsetof(ImDrawVert, uv)),
                stride, list->VtxBuffer.Size - int(cmd.VtxOffset), indices + cmd.IdxOffset,
                int(cmd.ElemCount), int(sizeof(ImDrawIdx)));
        }
    }
    SDL_RenderSetClipRect(renderer_, hadClip ? &oldClip : nullptr);
}

}  // namespace brumil::platform
