#pragma once
// The network set-up window and the chat window of the running game: made
// when the shell attaches them, over the game's own records (net::GameNet),
// drawn by the main window's overlay on a real display. The set-up window
// itself (and with it the session) is made when job 3 first asks for it and
// lives until the attachment goes at program exit.

#include <memory>

#include "app/network_window.h"

namespace brumil::app {

class NetworkWindowsAttachment {
public:
    virtual ~NetworkWindowsAttachment() = default;
    // The set-up window (gFrmNetwork), made first when `create` is set.
    virtual NetworkWindow* SetupWindow(bool create) = 0;
    virtual ChatWindow& Chat() = 0;
    // Runs the session once per logic step (before the job list).
    virtual void Poll() = 0;
};

std::unique_ptr<NetworkWindowsAttachment> AttachNetworkWindows();

// Opens the chat window when a session exists; false otherwise.
bool ShowNetworkChat();
// Polls the attached session, if any.
void PollNetworkSession();

}  // namespace brumil::app
