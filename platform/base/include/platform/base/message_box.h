#pragma once
// Message boxes. With a display an SDL message box is shown; without one
// (BRUMIL_HEADLESS set, the dummy video driver, or SDL failing) the message
// goes to stderr and the default answer is given.

#include <string_view>

namespace brumil::platform {

enum class MessageKind { kInformation, kWarning, kCritical };
enum class MessageButtons { kOk, kOkCancel };
enum class MessageAnswer { kOk, kCancel };

// Shows the box and waits for the answer. Without a display the answer is kOk.
MessageAnswer ShowMessageBox(std::string_view text, std::string_view title, MessageKind kind,
                             MessageButtons buttons = MessageButtons::kOk);

// True when boxes fall back to stderr.
bool MessageBoxesHeadless();

}  // namespace brumil::platform
