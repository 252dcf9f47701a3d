#pragma once
// The network set-up window and the chat window drawn as modeless windows
// over the game (overlay_window.h). Each view draws what its client
// describes and reports clicks and edits; the text fields keep what is being
// typed only until they report it.

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/overlay_window.h"

namespace brumil::platform {

struct NetworkWindowFrame : OverlayDialogHead {
    std::string nameLabel;    // "あなたのリングネイム"
    std::string methodLabel;  // "接続方法を選びます"
    std::string addressLabel;
    std::string userName;  // the name field
    std::string address;   // the address field
    std::vector<std::string> providers;
    int provider = 0;
    std::vector<std::string> games;  // sessions found
    int selectedGame = -1;
    std::string hint;  // CR LF between lines
    std::string create;
    std::string refresh;
    std::string join;
    bool controlsEnabled = true;
    bool joinEnabled = false;
    // A message box on top of the window: its text and title, empty for none.
    std::string messageText;
    std::string messageTitle;
};

class NetworkWindowClient {
public:
    virtual ~NetworkWindowClient() = default;
    virtual NetworkWindowFrame Describe() = 0;
    virtual void UserNameEdited(const std::string& text) = 0;
    virtual void AddressEdited(const std::string& text) = 0;
    virtual void CreateClicked() = 0;
    virtual void RefreshClicked() = 0;
    virtual void GameClicked(int index) = 0;
    virtual void JoinClicked() = 0;  // the button or a double click on a game
    virtual void CloseBoxClicked() = 0;
    virtual void MessageDismissed() = 0;
};

struct ChatWindowFrame : OverlayDialogHead {
    std::string text;  // the line being typed
    std::string send;  // the button's caption
};

class ChatWindowClient {
public:
    virtual ~ChatWindowClient() = default;
    virtual ChatWindowFrame Describe() = 0;
    virtual void TextEdited(const std::string& text) = 0;
    virtual void SendClicked() = 0;  // the button or Enter in the field
    virtual void EscapePressed() = 0;
    virtual void CloseBoxClicked() = 0;
};

std::unique_ptr<OverlayWindow> MakeNetworkWindowView(NetworkWindowClient& client,
                                                     const OverlayFont& font);
std::unique_ptr<OverlayWindow> MakeChatWindowView(ChatWindowClient& client,
                                                  const OverlayFont& font);

}  // namespace brumil::platform
