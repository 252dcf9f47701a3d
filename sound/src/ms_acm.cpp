// CmsACM: loading, the public operations and the graph back end.
#include "sound/ms_acm.h"

#include <cmath>

#include "core/api.h"
#include "platform/media/media_decoder.h"
#include "sound_host.h"

namespace brumil::sound {
namespace {

// One semitone to seven places (not the exact 2^(1/12)); rates depend on it.
constexpr double kSemitone = 1.0594631;
constexpr Single kMinRate = 0.5f;
constexpr Single kMaxRate = 2.0f;

platform::MediaBufferMaker FrameworkBuffers() {
    return [](const platform::SoundBufferDesc& d) {
        return detail::CreateBuffer(
            static_cast<Long>(d.bufferBytes), static_cast<Long>(d.format.samplesPerSec),
            d.format.bitsPerSample, d.format.channels, static_cast<Long>(d.flags));
    };
}

Single RateOf(Single semitones) {
    return static_cast<Single>(std::pow(kSemitone, semitones));
}

Single ClampRate(Single rate) {
    if (std::isnan(rate)) return kMinRate;
    if (rate > kMaxRate) return kMaxRate;
    if (rate < kMinRate) return kMinRate;
    return rate;
}

bool Ok(platform::MediaResult r) {
    return r == platform::MediaResult::Ok;
}

}  // namespace

AcmBackends DefaultAcmBackends() {
    AcmBackends b;
    b.makeGraph = [] { return std::make_unique<platform::MediaGraph>(FrameworkBuffers()); };
    b.commands = platform::MakeMediaCommands(FrameworkBuffers());
    return b;
}

CmsACM::CmsACM(AcmBackends backends) : backends_(std::move(backends)) {
    if (backends_.makeGraph) graph_ = backends_.makeGraph();
    graphAvailable_ = graph_ != nullptr;
}

CmsACM::~CmsACM() {
    CloseDevice();
}

Long CmsACM::Load(std::string_view mediaFile, Long /*feedTime*/, Single tempo, Single volum,
                  double startedTime) {
    std::string path(mediaFile);
    core::CApi& api = core::gApi();
    api.ExepathAddition(path);
    // A file that is missing, or that neither back end could decode, leaves
    // the current music playing.
    if (!api.DirFile(path) || !platform::MediaFileDecodes(path)) return 1;

    if (useGraph_) {
        GraphClose();
    } else {
        CommandClose();
    }
    state_ = kNothing;
    fileName_ = path;
    useGraph_ = graphAvailable_;
    bool open = false;
    if (useGraph_) {
        if (std::isnan(tempo) || tempo > 12.0f || tempo < -12.0f) tempo = 0.0f;
        open = GraphBuild(path, RateOf(tempo));
        if (!open) useGraph_ = false;
    }
    if (!open) open = CommandOpen(path);
    // Both refused (no sound output, typically): nothing is loaded.
    if (!open) return 1;

    SetVolum(volum);
    SetTime(startedTime);
    state_ = kLoaded;
    return 0;
}

void CmsACM::Play() {
    if (state_ <= kNothing) return;
    if (useGraph_) {
        GraphPlay();
    } else {
        Command("play bgmfile ");
    }
    state_ = kPlaying;
}

void CmsACM::Pose() {
    if (useGraph_) {
        if (graph_) graph_->Stop();
    } else {
        Command("stop bgmfile ");
    }
    state_ = kStopped;
}

void CmsACM::Update() {
    if (state_ != kPlaying) return;
    if (useGraph_) {
        GraphUpdate();
    } else {
        CommandUpdate();
    }
}

double CmsACM::GetLength() {
    double seconds = 0.0;
    if (!useGraph_ || !graph_ || !Ok(graph_->GetDuration(seconds))) return 0.0;
    return seconds;
}

void CmsACM::SetTime(double seconds) {
    if (useGraph_ && graph_) graph_->PutCurrentPosition(seconds);
}

void CmsACM::SetTempo(Single semitones) {
    if (useGraph_) RateChange(RateOf(semitones));
}

void CmsACM::SetVolum(Single volume) {
    // Linear in hundredths of a decibel: 1.0 is 0 (full), 0.0 is -10000. A
    // value outside 0..1 is refused by the graph and the volume stays.
    if (useGraph_ && graph_) graph_->PutVolume(RoundToLong((volume - 1.0) * 10000.0));
}

void CmsACM::CloseDevice() {
    CommandClose();
    GraphClose();
}

void CmsACM::xLib_Timer(double /*delta*/) {
    if (graph_) graph_->Refill();
    if (backends_.commands) backends_.commands->Refill();
}

bool CmsACM::GraphBuild(const std::string& file, Single rate) {
    fileName_ = file;
    graph_ = backends_.makeGraph ? backends_.makeGraph() : nullptr;
    if (!graph_) return false;
    if (!Ok(graph_->RenderFile(file))) return false;
    if (!Ok(graph_->PutVolume(0))) return false;
    if (!Ok(graph_->PutRate(ClampRate(rate)))) return false;
    ReadGraphLength();
    return true;
}

void CmsACM::ReadGraphLength() {
    double duration = 0.0;
    graph_->GetDuration(duration);
    graphLength_ = RoundToLong(duration * 100.0) / 100.0;
    loopStart_ = 0.0;
    double rate = 0.0;
    graph_->GetRate(rate);
}

void CmsACM::RateChange(Single rate) {
    if (!graph_) return;
    graph_->PutRate(ClampRate(rate));
    ReadGraphLength();
}

void CmsACM::GraphPlay() {
    if (!graph_) return;
    bool failed = false;
    double position = 0.0;
    failed |= !Ok(graph_->GetCurrentPosition(position));
    if (RoundToLong(position) < RoundToLong(loopStart_)) {
        failed |= !Ok(graph_->PutCurrentPosition(loopStart_));
    } else {
        failed |= !Ok(graph_->GetCurrentPosition(position));
        // A graph that has played to its end starts again from the loop start.
        if (RoundToLong(position) == RoundToLong(graphLength_)) {
            failed |= !Ok(graph_->PutCurrentPosition(loopStart_));
        }
    }
    failed |= !Ok(graph_->Run());
    if (failed) {
        // A rate the graph refuses falls back to normal speed.
        graph_->PutRate(1.0);
        graph_->Run();
    }
}

void CmsACM::GraphClose() {
    if (!graph_) return;
    graph_->Stop();
    graph_.reset();
}

void CmsACM::GraphUpdate() {
    if (!graph_) return;
    std::int32_t code = 0;
    graph_->WaitForCompletion(0, code);
    if (code == 0) return;
    if (PlayOnce) {
        state_ = kStopped;
        return;
    }
    // Completed: rewind whatever position the graph reports at its end, so a
    // looping player can never sit at the end, silent, while "playing".
    graph_->PutCurrentPosition(loopStart_);
    GraphPlay();
}

}  // namespace brumil::sound
