#include "platform/base/message_box.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace brumil::platform {
namespace {

const char* KindName(MessageKind kind) {
    switch (kind) {
        case MessageKind::kWarning:
            return "warning";
        case MessageKind::kCritical:
            return "critical";
        default:
            return "information";
    }
}

Uint32 KindFlag(MessageKind kind) {
    switch (kind) {
        case MessageKind::kWarning:
            return SDL_MESSAGEBOX_WARNING;
        case MessageKind::kCritical:
            return SDL_MESSAGEBOX_ERROR;
        default:
            return SDL_MESSAGEBOX_INFORMATION;
    }
}

}  // namespace

bool MessageBoxesHeadless() {
    if (const char* h = std::getenv("BRUMIL_HEADLESS"); h && *h && std::strcmp(h, "0") != 0) {
        return true;
    }
    if (const char* v = std::getenv("SDL_VIDEODRIVER"); v && std::strcmp(v, "dummy") == 0) {
        return true;
    }
    return std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr;
}

MessageAnswer ShowMessageBox(std::string_view text, std::string_view title, MessageKind kind,
                             MessageButtons buttons) {
    const std::string t(title);
    const std::string m(text);
    if (!MessageBoxesHeadless()) {
        SDL_MessageBoxButtonData data[2] = {
            {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "OK"},
            {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "キャンセル"},
        };
        const SDL_MessageBoxData box{KindFlag(kind),
                                     nullptr,
                                     t.c_str(),
                                     m.c_str(),
                                     buttons == MessageButtons::kOkCancel ? 2 : 1,
                                     data,
                                     nullptr};
        int pressed = 1;
        if (SDL_ShowMessageBox(&box, &pressed) == 0) {
            return pressed == 1 ? MessageAnswer::kOk : MessageAnswer::kCancel;
        }
    }
    std::fprintf(stderr, "[%s] %s: %s\n", KindName(kind), t.c_str(), m.c_str());
    return MessageAnswer::kOk;
}

}  // namespace brumil::platform
