#pragma once
// A multimedia command-string interpreter over the media decoder: devices are
// opened under an alias and driven by text commands, one call each.
//
// Understood (words case-insensitive, separated by spaces, a path may be put in
// double quotes):
//   open <path> [alias <name>]     (without alias the path is the name)
//   play <name> [from <ms>]        (resumes where it stopped without "from")
//   stop <name>
//   close <name>
//   status <name> mode             (reply "playing" or "stopped")
// A device that has played to its end reports "stopped"; playing it again
// without "from" stops at once. As with the graph, Refill must be called on
// every timer tick while something plays.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/media/media_output.h"

namespace brumil::platform {

enum class MediaCommandError : std::uint32_t {
    None = 0,
    UnknownCommand,
    MissingDevice,   // no device name, or none open under that name
    DuplicateAlias,  // open: the name is taken
    CannotOpen,      // open: the file does not decode or the output refused
    BadParameter,    // an unknown or incomplete keyword
    ReplyTooSmall,   // the reply does not fit the caller's capacity
};

class MediaCommands {
public:
    virtual ~MediaCommands() = default;
    // Runs one command. `reply` receives the answer text (status queries),
    // else ""; `replyCapacity` is the caller's buffer in bytes including the
    // terminating zero, 0 when it takes no reply.
    virtual MediaCommandError SendString(std::string_view command, std::string& reply,
                                         std::size_t replyCapacity) = 0;
    // The timer's work for every open device.
    virtual void Refill() = 0;
};

std::unique_ptr<MediaCommands> MakeMediaCommands(MediaBufferMaker make);

}  // namespace brumil::platform
