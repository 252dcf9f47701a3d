#pragma once
// A media graph: one music file rendered to the mixer, with the controls of a
// classic filter graph (run, stop, position, duration and rate in seconds,
// volume in hundredths of a decibel, completion).
//
// The graph plays on the caller's thread only: Refill must be called on every
// framework timer tick (at least once a second) while it runs, like the other
// streams; nothing happens in between except the mixer playing what is queued.
// WaitForCompletion never blocks.

#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/media/media_output.h"

namespace brumil::platform {

namespace detail {
class MediaStream;
}

enum class MediaResult : std::uint8_t {
    Ok,
    Timeout,       // WaitForCompletion: not complete yet
    InvalidArg,    // a value outside its range; nothing changed
    NoFile,        // no file has been rendered
    CannotRender,  // the file does not decode or the output refused a buffer
    AlreadyRendered,
};

// The event code WaitForCompletion reports once the end has been heard.
inline constexpr std::int32_t kMediaEventComplete = 1;

class MediaGraph {
public:
    explicit MediaGraph(MediaBufferMaker make);
    ~MediaGraph();
    MediaGraph(const MediaGraph&) = delete;
    MediaGraph& operator=(const MediaGraph&) = delete;

    // Builds the playback of a file (program path); once per graph.
    MediaResult RenderFile(std::string_view path);

    // Runs from the current position; a graph at the end completes at once.
    MediaResult Run();
    // Stops; the position stays where it is.
    MediaResult Stop();
    bool IsRunning() const { return running_; }

    MediaResult GetCurrentPosition(double& seconds) const;
    // Seconds from the start, clamped to the duration; negative or not a
    // number: InvalidArg. Clears a completion; a running graph goes on from
    // there.
    MediaResult PutCurrentPosition(double seconds);
    MediaResult GetDuration(double& seconds) const;
    // Speed factor, > 0, such that the file's rate times it lies within
    // 100..100000 Hz; InvalidArg otherwise (the rate in force stays).
    MediaResult PutRate(double rate);
    MediaResult GetRate(double& rate) const;
    // -10000 (silent) .. 0 (full); InvalidArg outside (the volume stays).
    MediaResult PutVolume(std::int32_t hundredthsDb);
    MediaResult GetVolume(std::int32_t& hundredthsDb) const;

    // eventCode becomes kMediaEventComplete (answer Ok) once a running graph's
    // end has been heard, else 0 (answer Timeout). The time-out is not waited:
    // this graph completes only inside Refill and this call.
    MediaResult WaitForCompletion(std::int32_t timeoutMs, std::int32_t& eventCode);

    // The timer's work: counts what was heard, tops the ring up.
    void Refill();

private:
    MediaBufferMaker make_;
    std::unique_ptr<detail::MediaStream> stream_;
    bool running_ = false;
};

}  // namespace brumil::platform
