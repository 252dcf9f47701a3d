#pragma once
// The front end's network jobs:
//   3  network set-up (kind 1, modal, added by the window menu): leaves full
//      screen, opens the set-up window and waits until it is done with; a
//      session made or joined (re)starts job 4;
//   4  network link (kind 2): every logic step advances the own input frame
//      and, in drawn steps, sends the first player's keys when they changed;
//      shows the log panel, hiding it during a battle except for a while after
//      each new line.
// The set-up window and the log panel are reached through ServiceJobHost.

#include <string>

#include "core/vb_types.h"
#include "frontend/job_numbers.h"

namespace brumil::frontend {

class ApplicationConfig;

// What job 3 needs of the session set-up window.
class NetworkDialog {
public:
    virtual ~NetworkDialog() = default;
    // Prepares the window afresh (a running session is closed first); Active
    // is true afterwards.
    virtual void StartConnectWizard() = 0;
    // True until a session is made or joined, or the window is closed.
    virtual bool Active() const = 0;
    // The own player name once a session exists; empty otherwise.
    virtual std::string ConnectedName() const = 0;
    // Puts the window's top-left corner at a screen position.
    virtual void Place(Long x, Long y) = 0;
    // Shows the window without waiting for it.
    virtual void Show() = 0;
    // True when this side made the session (false when it joined one).
    virtual bool IsHost() const { return false; }
};

void AppJob3_NetworkSetup(ApplicationConfig& app, Long job, Long message, Long parameter);
void AppJob4_NetworkLink(ApplicationConfig& app, Long job, Long message, Long parameter);

}  // namespace brumil::frontend
