#include "platform/media/media_graph.h"

#include <cmath>

#include "media_stream.h"

namespace brumil::platform {

MediaGraph::MediaGraph(MediaBufferMaker make) : make_(std::move(make)) {}
MediaGraph::~MediaGraph() = default;

MediaResult MediaGraph::RenderFile(std::string_view path) {
    if (stream_) return MediaResult::AlreadyRendered;
    stream_ = detail::MediaStream::Open(path, make_);
    return stream_ ? MediaResult::Ok : MediaResult::CannotRender;
}

MediaResult MediaGraph::Run() {
    if (!stream_) return MediaResult::NoFile;
    running_ = true;
    stream_->Start();
    return MediaResult::Ok;
}

MediaResult MediaGraph::Stop() {
    if (!stream_) return MediaResult::NoFile;
    running_ = false;
    stream_->Stop();
    return MediaResult::Ok;
}

MediaResult MediaGraph::GetCurrentPosition(double& seconds) const {
    if (!stream_) return MediaResult::NoFile;
    seconds = stream_->Position();
    return MediaResult::Ok;
}

MediaResult MediaGraph::PutCurrentPosition(double seconds) {
    if (!stream_) return MediaResult::NoFile;
    if (!(seconds >= 0.0)) return MediaResult::InvalidArg;
    const double frame = std::round(seconds * stream_->Hz());
    const double last = static_cast<double>(stream_->Frames());
    stream_->Seek(static_cast<std::uint64_t>(frame < last ? frame : last));
    if (running_) stream_->Start();
    return MediaResult::Ok;
}

MediaResult MediaGraph::GetDuration(double& seconds) const {
    if (!stream_) return MediaResult::NoFile;
    seconds = stream_->Duration();
    return MediaResult::Ok;
}

MediaResult MediaGraph::PutRate(double rate) {
    if (!stream_) return MediaResult::NoFile;
    return stream_->SetRate(rate) ? MediaResult::Ok : MediaResult::InvalidArg;
}

MediaResult MediaGraph::GetRate(double& rate) const {
    if (!stream_) return MediaResult::NoFile;
    rate = stream_->Rate();
    return MediaResult::Ok;
}

MediaResult MediaGraph::PutVolume(std::int32_t hundredthsDb) {
    if (!stream_) return MediaResult::NoFile;
    return stream_->SetVolume(hundredthsDb) ? MediaResult::Ok : MediaResult::InvalidArg;
}

MediaResult MediaGraph::GetVolume(std::int32_t& hundredthsDb) const {
    if (!stream_) return MediaResult::NoFile;
    hundredthsDb = stream_->Volume();
    return MediaResult::Ok;
}

MediaResult MediaGraph::WaitForCompletion(std::int32_t /*timeoutMs*/, std::int32_t& eventCode) {
    eventCode = 0;
    if (!stream_) return MediaResult::NoFile;
    if (running_) stream_->Poll();
    if (running_ && stream_->Completed()) {
        eventCode = kMediaEventComplete;
        return MediaResult::Ok;
    }
    return MediaResult::Timeout;
}

void MediaGraph::Refill() {
    if (stream_ && running_) stream_->Refill();
}

}  // namespace brumil::platform
