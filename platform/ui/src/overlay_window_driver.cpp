#include "platform/ui/overlay_window_driver.h"

#include <imgui.h>

namespace brumil::platform {

OverlayWindowDriver::OverlayWindowDriver(float width, float height) {
    previous_ = ImGui::GetCurrentContext();
    context_ = ImGui::CreateContext();
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;
    io.LogFilename = nullptr;
    io.DisplaySize = ImVec2(width, height);
    io.DeltaTime = 1.0f / 60.0f;
    io.Fonts->AddFontDefault();
    unsigned char* pixels = nullptr;
    int w = 0, h = 0;
    io.Fonts->GetTexDataAsRGBA32(&pixels, &w, &h);
}

OverlayWindowDriver::~OverlayWindowDriver() {
    ImGui::DestroyContext(context_);
    ImGui::SetCurrentContext(previous_);
}

void OverlayWindowDriver::Frame(OverlayWindow& window, float x, float y, bool buttonDown,
                                const OverlayPlace& place) {
    ImGui::SetCurrentContext(context_);
    ImGuiIO& io = ImGui::GetIO();
    io.MousePos = ImVec2(x, y);
    io.MouseDown[0] = buttonDown;
    ImGui::NewFrame();
    window.Draw(place);
    ImGui::Render();
}

}  // namespace brumil::platform
