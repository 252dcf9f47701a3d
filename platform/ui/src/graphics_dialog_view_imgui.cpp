// The graphics settings dialog on Dear ImGui: two columns of framed option
// groups, the help label under them and the two buttons at the bottom.
#include <imgui.h>

#include <algorithm>
#include <string>

#include "overlay_windows.h"
#include "platform/ui/graphics_dialog_view.h"

namespace brumil::platform {

namespace {

constexpr float kFramePadding = 6.0f;
constexpr int kHelpLines = 7;
constexpr float kButtonWidth = 90.0f;

// What the pointer is over this frame.
struct Pointing {
    int group = -1;
    int option = -1;
    bool overControl = false;  // a frame, a button or the help label
};

bool MouseIn(const ImVec2& min, const ImVec2& max) {
    return ImGui::IsMouseHoveringRect(min, max, false);
}

class GraphicsDialogView final : public OverlayWindow {
public:
    GraphicsDialogView(GraphicsDialogClient& client, const OverlayFont& font)
        : client_(client), font_(font) {}

    const OverlayFont* Font() const override { return &font_; }

    void Draw(const OverlayPlace& place) override {
        const GraphicsDialogFrame f = client_.Describe();
        if (!f.visible) return;
        bool open = true;
        Pointing pointing;
        bool ok = false, cancel = false;
        int clickedGroup = -1, clickedOption = -1;
        if (BeginOverlayDialog(f, "brumil_graphics_config", place, open)) {
            const std::size_t half = (f.groups.size() + 1) / 2;
            ImGui::BeginGroup();
            const float left = ColumnWidth(f, 0, half);
            for (std::size_t g = 0; g < half; ++g)
                DrawGroup(f.groups[g], int(g), left, pointing, clickedGroup, clickedOption);
            ImGui::EndGroup();
            ImGui::SameLine(0.0f, kFramePadding * 3.0f);
            ImGui::BeginGroup();
            const float right = ColumnWidth(f, half, f.groups.size());
            for (std::size_t g = half; g < f.groups.size(); ++g)
                DrawGroup(f.groups[g], int(g), right, pointing, clickedGroup, clickedOption);
            ImGui::EndGroup();
            const float width = ImGui::GetItemRectMax().x - ImGui::GetWindowPos().x -
                                ImGui::GetStyle().WindowPadding.x;

            // Label1: the help of the option under the pointer.
            ImGui::Dummy(ImVec2(0.0f, kFramePadding));
            const ImVec2 helpSize(width, ImGui::GetTextLineHeight() * kHelpLines);
            const ImVec2 helpMin = ImGui::GetCursorScreenPos();
            ImGui::PushTextWrapPos(helpMin.x - ImGui::GetWindowPos().x + helpSize.x);
            ImGui::TextUnformatted(WithoutCarriageReturns(f.help).c_str());
            ImGui::PopTextWrapPos();
            ImGui::SetCursorScreenPos(helpMin);
            ImGui::Dummy(helpSize);
            if (MouseIn(helpMin, ImVec2(helpMin.x + helpSize.x, helpMin.y + helpSize.y)))
                pointing.overControl = true;

            ImGui::SetCursorPosX(ImGui::GetCursorPosX() + width - kButtonWidth * 2.0f -
                                 ImGui::GetStyle().ItemSpacing.x);
            ok = ImGui::Button(f.ok.c_str(), ImVec2(kButtonWidth, 0.0f));
            if (ImGui::IsItemHovered()) pointing.overControl = true;
            ImGui::SameLine();
            cancel = ImGui::Button(f.cancel.c_str(), ImVec2(kButtonWidth, 0.0f));
            if (ImGui::IsItemHovered()) pointing.overControl = true;

            const ImGuiIO& io = ImGui::GetIO();
            const bool moved = io.MouseDelta.x != 0.0f || io.MouseDelta.y != 0.0f;
            // The title bar (close box included) is not the window's area.
            // ImGui's "any item hovered" would not do: it still holds the
            // option the pointer left in the frame before, so a move straight
            // from an option to the free area kept the option's help.
            const bool belowTitle =
                io.MousePos.y >= ImGui::GetWindowPos().y + ImGui::GetFrameHeight();
            if (moved && ImGui::IsWindowHovered()) {
                if (pointing.group >= 0) {
                    client_.PointerOverOption(pointing.group, pointing.option);
                } else if (!pointing.overControl && belowTitle) {
                    client_.PointerOverFreeArea();
                }
            }
        }
        ImGui::End();
        // The model acts after the window's calls are done.
        if (clickedGroup >= 0) client_.OptionClicked(clickedGroup, clickedOption);
        if (ok) client_.OkClicked();
        if (cancel) client_.CancelClicked();
        if (!open) client_.CloseBoxClicked();
    }

private:
    // The frames of a column are as wide as its widest option or caption.
    static float ColumnWidth(const GraphicsDialogFrame& f, std::size_t first, std::size_t end) {
        const float radio = ImGui::GetFrameHeight() + ImGui::GetStyle().ItemInnerSpacing.x;
        float width = 0.0f;
        for (std::size_t g = first; g < end && g < f.groups.size(); ++g) {
            const GraphicsDialogGroup& group = f.groups[g];
            width = std::max(width, ImGui::CalcTextSize(group.frameCaption.c_str()).x);
            for (const std::string& option : group.options)
                width = std::max(width, radio + ImGui::CalcTextSize(option.c_str()).x);
        }
        return width + kFramePadding * 2.0f;
    }

    // One option group in a frame with its caption on the top edge.
    void DrawGroup(const GraphicsDialogGroup& group, int index, float width, Pointing& pointing,
                   int& clickedGroup, int& clickedOption) {
        ImGui::PushID(index);
        const ImVec2 top = ImGui::GetCursorScreenPos();
        const float lineHeight = ImGui::GetTextLineHeight();
        ImGui::SetCursorScreenPos(ImVec2(top.x + kFramePadding, top.y + lineHeight));
        ImGui::BeginGroup();
        for (std::size_t i = 0; i < group.options.size(); ++i) {
            ImGui::PushID(int(i));
            const std::string caption = WithoutCarriageReturns(group.options[i]);
            if (ImGui::RadioButton(caption.c_str(), group.selected == int(i))) {
                clickedGroup = index;
                clickedOption = int(i);
            }
            if (ImGui::IsItemHovered()) {
                pointing.group = index;
                pointing.option = int(i);
            }
            ImGui::PopID();
        }
        ImGui::EndGroup();
        const ImVec2 inner = ImGui::GetItemRectMax();
        const ImVec2 min(top.x, top.y + lineHeight * 0.5f);
        const ImVec2 max(std::max(inner.x + kFramePadding, min.x + width), inner.y + kFramePadding);
        ImDrawList* draw = ImGui::GetWindowDrawList();
        draw->AddRect(min, max, ImGui::GetColorU32(ImGuiCol_Border));
        // The caption sits on the frame's top edge over a strip of background.
        const std::string caption = WithoutCarriageReturns(group.frameCaption);
        const ImVec2 captionSize = ImGui::CalcTextSize(caption.c_str());
        const ImVec2 captionPos(top.x + kFramePadding, top.y);
        draw->AddRectFilled(
            ImVec2(captionPos.x - 2.0f, captionPos.y),
            ImVec2(captionPos.x + captionSize.x + 2.0f, captionPos.y + captionSize.y),
            ImGui::GetColorU32(ImGuiCol_WindowBg));
        draw->AddText(captionPos, ImGui::GetColorU32(ImGuiCol_Text), caption.c_str());
        if (MouseIn(min, max)) pointing.overControl = true;
        ImGui::SetCursorScreenPos(ImVec2(top.x, max.y + kFramePadding));
        ImGui::Dummy(ImVec2(max.x - top.x, 0.0f));
        ImGui::PopID();
    }

    GraphicsDialogClient& client_;
    OverlayFont font_;
};

}  // namespace

std::unique_ptr<OverlayWindow> MakeGraphicsDialogView(GraphicsDialogClient& client,
                                                      const OverlayFont& font) {
    return std::make_unique<GraphicsDialogView>(client, font);
}

}  // namespace brumil::platform
