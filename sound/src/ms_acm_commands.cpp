// CmsACM: the command back end. The strings are fixed, trailing blank
// included; the interpreter and any recorder see exactly these.
#include "sound/ms_acm.h"

namespace brumil::sound {

platform::MediaCommandError CmsACM::Command(std::string_view text) {
    if (!backends_.commands) return platform::MediaCommandError::UnknownCommand;
    std::string reply;
    return backends_.commands->SendString(text, reply, 0);
}

bool CmsACM::CommandOpen(const std::string& file) {
    const std::string text = "open \"" + file + "\" alias bgmfile ";
    return Command(text) == platform::MediaCommandError::None;
}

void CmsACM::CommandClose() {
    Command("stop bgmfile ");
    Command("close bgmfile ");
}

void CmsACM::CommandUpdate() {
    if (!backends_.commands) return;
    std::string reply;
    backends_.commands->SendString("status bgmfile mode ", reply, 16);
    if (reply != "stopped") return;
    if (PlayOnce) {
        state_ = kStopped;
    } else {
        Command("play bgmfile from 0 ");
    }
}

}  // namespace brumil::sound
