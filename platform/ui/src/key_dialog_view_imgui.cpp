// The key configuration dialog on Dear ImGui: the two players' rows side by
// side, each an option with the name of its assigned code beside it, the
// auxiliary option under them and the two buttons at the bottom.
#include <imgui.h>

#include "overlay_windows.h"
#include "platform/ui/key_dialog_view.h"

namespace brumil::platform {

namespace {

constexpr float kOptionWidth = 150.0f;
constexpr float kLabelWidth = 120.0f;
constexpr float kColumnGap = 24.0f;
constexpr float kButtonWidth = 90.0f;

class KeyDialogView final : public OverlayWindow {
public:
    KeyDialogView(KeyDialogClient& client, const OverlayFont& font)
        : client_(client), font_(font) {}

    const OverlayFont* Font() const override { return &font_; }

    // The dialog reads every key from the game's input while it is on show.
    bool CapturesKeys() override { return client_.Describe().visible; }

    void Draw(const OverlayPlace& place) override {
        const KeyDialogFrame f = client_.Describe();
        if (!f.visible) return;
        bool open = true;
        int clicked = -1;
        bool ok = false, cancel = false;
        if (BeginOverlayDialog(f, "brumil_key_config", place, open)) {
            const int rows = int(f.labels.size());
            const int perPlayer = rows / 2;
            DrawColumn(f, f.player1, 0, perPlayer, clicked);
            ImGui::SameLine(0.0f, kColumnGap);
            DrawColumn(f, f.player2, perPlayer, rows, clicked);
            ImGui::Spacing();
            if (rows < int(f.options.size())) DrawOption(f, rows, clicked);

            ImGui::Spacing();
            const float width = (kOptionWidth + kLabelWidth) * 2.0f + kColumnGap;
            ImGui::SetCursorPosX(ImGui::GetCursorPosX() + width - kButtonWidth * 2.0f -
                                 ImGui::GetStyle().ItemSpacing.x);
            ok = ImGui::Button(f.ok.c_str(), ImVec2(kButtonWidth, 0.0f));
            if (f.okFocused) {
                // The keyboard focus: Enter or Space now click this button.
                const ImVec2 min = ImGui::GetItemRectMin();
                const ImVec2 max = ImGui::GetItemRectMax();
                ImGui::GetWindowDrawList()->AddRect(
                    ImVec2(min.x - 2.0f, min.y - 2.0f), ImVec2(max.x + 2.0f, max.y + 2.0f),
                    ImGui::GetColorU32(ImGuiCol_NavHighlight), 0.0f, 0, 2.0f);
            }
            ImGui::SameLine();
            cancel = ImGui::Button(f.cancel.c_str(), ImVec2(kButtonWidth, 0.0f));
        }
        ImGui::End();
        if (clicked >= 0) client_.OptionClicked(clicked);
        if (ok) client_.OkClicked();
        if (cancel) client_.CancelClicked();
        if (!open) client_.CloseBoxClicked();
    }

private:
    void DrawColumn(const KeyDialogFrame& f, const std::string& heading, int first, int end,
                    int& clicked) {
        ImGui::BeginGroup();
        // Both headings on the options' baseline, so the second column, which
        // follows the first one's last row on the same line, starts level.
        ImGui::AlignTextToFramePadding();
        ImGui::TextUnformatted(WithoutCarriageReturns(heading).c_str());
        ImGui::Spacing();
        for (int i = first; i < end; ++i) {
            DrawOption(f, i, clicked);
            // Inside a group the offset counts from the group's left edge.
            ImGui::SameLine(kOptionWidth);
            DrawLabel(f.labels[std::size_t(i)]);
        }
        ImGui::EndGroup();
    }

    void DrawOption(const KeyDialogFrame& f, int i, int& clicked) {
        if (i < 0 || i >= int(f.options.size())) return;
        const bool enabled = std::size_t(i) < f.enabled.size() && f.enabled[std::size_t(i)];
        ImGui::PushID(i);
        ImGui::BeginDisabled(!enabled);
        const std::string caption = WithoutCarriageReturns(f.options[std::size_t(i)]);
        if (ImGui::RadioButton(caption.c_str(), f.selected == i)) clicked = i;
        ImGui::EndDisabled();
        ImGui::PopID();
    }

    // LabelPlayer1: a sunken box with the assigned code's name.
    static void DrawLabel(const std::string& text) {
        const ImVec2 min = ImGui::GetCursorScreenPos();
        const float height = ImGui::GetFrameHeight();
        const ImVec2 max(min.x + kLabelWidth, min.y + height);
        ImDrawList* draw = ImGui::GetWindowDrawList();
        draw->AddRectFilled(min, max, ImGui::GetColorU32(ImGuiCol_FrameBg));
        draw->AddRect(min, max, ImGui::GetColorU32(ImGuiCol_Border));
        const float pad = ImGui::GetStyle().FramePadding.y;
        draw->PushClipRect(min, max, true);
        draw->AddText(ImVec2(min.x + 4.0f, min.y + pad), ImGui::GetColorU32(ImGuiCol_Text),
                      text.c_str());
        draw->PopClipRect();
        ImGui::Dummy(ImVec2(kLabelWidth, height));
    }

    KeyDialogClient& client_;
    OverlayFont font_;
};

}  // namespace

std::unique_ptr<OverlayWindow> MakeKeyDialogView(KeyDialogClient& client, const OverlayFont& font) {
    return std::make_unique<KeyDialogView>(client, font);
}

}  // namespace brumil::platform
