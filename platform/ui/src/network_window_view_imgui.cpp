// The network set-up and chat windows on Dear ImGui. Text fields are edited
// in buffers of the view: while a field has the focus its buffer is the
// truth and each edit is reported; otherwise it follows the description.
#include <imgui.h>

#include <array>
#include <cstring>

#include "overlay_windows.h"
#include "platform/ui/network_window_view.h"

namespace brumil::platform {

namespace {

constexpr float kFieldWidth = 260.0f;
constexpr float kListHeight = 90.0f;
constexpr float kButtonWidth = 110.0f;

// A text field's buffer: 1024 bytes of UTF-8 at most, as the wire allows.
class FieldBuffer {
public:
    // Shows `text` unless the user is typing in the field.
    void Follow(const std::string& text, bool active) {
        if (active) return;
        const std::size_t n = std::min(text.size(), data_.size() - 1);
        std::memcpy(data_.data(), text.data(), n);
        data_[n] = '\0';
    }
    // The field; true when its text changed.
    bool Draw(const char* id, float width, ImGuiInputTextFlags flags = 0) {
        ImGui::SetNextItemWidth(width);
        return ImGui::InputText(id, data_.data(), data_.size(), flags);
    }
    std::string Text() const { return std::string(data_.data()); }

private:
    std::array<char, 1025> data_{};
};

void DrawMessageBox(const std::string& text, const std::string& title, bool& dismissed) {
    if (text.empty()) return;
    const std::string id = title + "###brumil_net_message";
    ImGui::OpenPopup(id.c_str());
    if (ImGui::BeginPopupModal(id.c_str(), nullptr, ImGuiWindowFlags_AlwaysAutoResize)) {
        ImGui::TextUnformatted(text.c_str());
        if (ImGui::Button("OK", ImVec2(kButtonWidth, 0.0f))) dismissed = true;
        ImGui::EndPopup();
    }
}

class NetworkWindowView final : public OverlayWindow {
public:
    NetworkWindowView(NetworkWindowClient& client, const OverlayFont& font)
        : client_(client), font_(font) {}

    const OverlayFont* Font() const override { return &font_; }

    void Draw(const OverlayPlace& place) override {
        const NetworkWindowFrame f = client_.Describe();
        if (!f.visible) return;
        bool open = true;
        Clicks c;
        if (BeginOverlayDialog(f, "brumil_network", place, open)) Contents(f, c);
        ImGui::End();
        Report(c, open);
    }

private:
    struct Clicks {
        bool nameEdited = false, addressEdited = false, create = false, refresh = false,
             join = false, dismissed = false;
        int game = -1;
    };

    void Contents(const NetworkWindowFrame& f, Clicks& c) {
        ImGui::BeginDisabled(!f.controlsEnabled);
        ImGui::TextUnformatted(f.methodLabel.c_str());
        for (std::size_t i = 0; i < f.providers.size(); ++i) {
            ImGui::Selectable(f.providers[i].c_str(), int(i) == f.provider, 0,
                              ImVec2(kFieldWidth, 0.0f));
        }
        ImGui::TextUnformatted(f.nameLabel.c_str());
        name_.Follow(f.userName, nameActive_);
        c.nameEdited = name_.Draw("##name", kFieldWidth);
        nameActive_ = ImGui::IsItemActive();
        ImGui::TextUnformatted(f.addressLabel.c_str());
        address_.Follow(f.address, addressActive_);
        c.addressEdited = address_.Draw("##address", kFieldWidth);
        addressActive_ = ImGui::IsItemActive();
        c.create = ImGui::Button(f.create.c_str(), ImVec2(kButtonWidth, 0.0f));
        ImGui::SameLine();
        c.refresh = ImGui::Button(f.refresh.c_str(), ImVec2(kButtonWidth, 0.0f));
        if (ImGui::BeginListBox("##games", ImVec2(kFieldWidth * 1.6f, kListHeight))) {
            for (std::size_t i = 0; i < f.games.size(); ++i) {
                ImGui::PushID(int(i));
                if (ImGui::Selectable(f.games[i].c_str(), int(i) == f.selectedGame,
                                      ImGuiSelectableFlags_AllowDoubleClick)) {
                    c.game = int(i);
                    if (ImGui::IsMouseDoubleClicked(ImGuiMouseButton_Left)) c.join = true;
                }
                ImGui::PopID();
            }
            ImGui::EndListBox();
        }
        ImGui::BeginDisabled(!f.joinEnabled);
        c.join = ImGui::Button(f.join.c_str(), ImVec2(kButtonWidth, 0.0f)) || c.join;
        ImGui::EndDisabled();
        ImGui::EndDisabled();
        const std::string hint = WithoutCarriageReturns(f.hint);
        ImGui::PushTextWrapPos(ImGui::GetCursorPosX() + kFieldWidth * 1.6f);
        ImGui::TextUnformatted(hint.c_str());
        ImGui::PopTextWrapPos();
        DrawMessageBox(f.messageText, f.messageTitle, c.dismissed);
    }

    // Reported after the frame's ImGui calls, so the client may change
    // anything in answer.
    void Report(const Clicks& c, bool open) {
        if (c.nameEdited) client_.UserNameEdited(name_.Text());
        if (c.addressEdited) client_.AddressEdited(address_.Text());
        if (c.dismissed) client_.MessageDismissed();
        if (c.game >= 0) client_.GameClicked(c.game);
        if (c.create) client_.CreateClicked();
        if (c.refresh) client_.RefreshClicked();
        if (c.join) client_.JoinClicked();
        if (!open) client_.CloseBoxClicked();
    }

    NetworkWindowClient& client_;
    OverlayFont font_;
    FieldBuffer name_;
    FieldBuffer address_;
    bool nameActive_ = false;
    bool addressActive_ = false;
};

class ChatWindowView final : public OverlayWindow {
public:
    ChatWindowView(ChatWindowClient& client, const OverlayFont& font)
        : client_(client), font_(font) {}

    const OverlayFont* Font() const override { return &font_; }

    void Draw(const OverlayPlace& place) override {
        const ChatWindowFrame f = client_.Describe();
        if (!f.visible) {
            focusNext_ = true;
            return;
        }
        bool open = true;
        bool edited = false, send = false, escape = false;
        if (BeginOverlayDialog(f, "brumil_chat", place, open)) {
            text_.Follow(f.text, active_);
            if (focusNext_) ImGui::SetKeyboardFocusHere();
            focusNext_ = false;
            // Each edit reaches the client at once, so a click on the button
            // sends the line as shown. Enter sends too (it ends the edit).
            edited = text_.Draw("##line", kFieldWidth * 1.4f);
            active_ = ImGui::IsItemActive();
            const bool enter = ImGui::IsItemDeactivated() &&
                               ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_Enter), false);
            escape = ImGui::IsWindowFocused() &&
                     ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_Escape), false);
            send = enter;
            ImGui::SameLine();
            send = ImGui::Button(f.send.c_str(), ImVec2(kButtonWidth * 0.6f, 0.0f)) || send;
            focusNext_ = send;  // back in the field for the next line
        }
        ImGui::End();
        if (edited || send) client_.TextEdited(text_.Text());
        if (send) {
            client_.SendClicked();
            text_.Follow({}, false);  // the field starts empty again
        }
        if (escape) client_.EscapePressed();
        if (!open) client_.CloseBoxClicked();
    }

private:
    ChatWindowClient& client_;
    OverlayFont font_;
    FieldBuffer text_;
    bool active_ = false;
    bool focusNext_ = true;
};

}  // namespace

std::unique_ptr<OverlayWindow> MakeNetworkWindowView(NetworkWindowClient& client,
                                                     const OverlayFont& font) {
    return std::make_unique<NetworkWindowView>(client, font);
}

std::unique_ptr<OverlayWindow> MakeChatWindowView(ChatWindowClient& client,
                                                  const OverlayFont& font) {
    return std::make_unique<ChatWindowView>(client, font);
}

}  // namespace brumil::platform
