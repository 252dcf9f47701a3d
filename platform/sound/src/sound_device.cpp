#include "platform/sound/sound_device.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <string_view>

#include "mixer_state.h"

namespace brumil::platform {

using Lock = std::lock_guard<std::mutex>;

// An open SDL audio device whose callback pulls the mix. Closing the device
// waits for a running callback, so the state outlives every pull.
class SoundDevice::Output {
public:
    static std::unique_ptr<Output> Open(std::shared_ptr<detail::MixerState> state) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return nullptr;
        auto out = std::unique_ptr<Output>(new Output(std::move(state)));
        SDL_AudioSpec want{};
        want.freq = static_cast<int>(out->state_->outputHz);
        want.format = AUDIO_S16SYS;
        want.channels = 2;
        want.samples = 1024;
        want.callback = &Output::Pull;
        want.userdata = out->state_.get();
        SDL_AudioSpec have{};
        out->device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
        if (out->device_ == 0) {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            return nullptr;
        }
        SDL_PauseAudioDevice(out->device_, 0);
        return out;
    }

    ~Output() {
        SDL_CloseAudioDevice(device_);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

private:
    explicit Output(std::shared_ptr<detail::MixerState> state) : state_(std::move(state)) {}

    static void SDLCALL Pull(void* userdata, Uint8* stream, int len) {
        auto* state = static_cast<detail::MixerState*>(userdata);
        const std::size_t samples = static_cast<std::size_t>(len) / sizeof(std::int16_t);
        Lock lock(state->mutex);
        state->RenderLocked({reinterpret_cast<std::int16_t*>(stream), samples});
    }

    std::shared_ptr<detail::MixerState> state_;
    SDL_AudioDeviceID device_ = 0;
};

namespace {

bool HeadlessRequested() {
    const char* v = std::getenv("BRUMIL_HEADLESS");
    return v != nullptr && std::string_view(v) == "1";
}

}  // namespace

SoundDevice::SoundDevice(std::shared_ptr<detail::MixerState> state)
    : state_(state), primary_(state), listener_(state) {}

std::unique_ptr<SoundDevice> SoundDevice::Open(const SoundDeviceOptions& options) {
    if (options.hz < 8000 || options.hz > 192000) return nullptr;
    if (options.bits != 8 && options.bits != 16) return nullptr;
    if (options.channels != 1 && options.channels != 2) return nullptr;
    auto state = std::make_shared<detail::MixerState>();
    state->outputHz = options.hz;
    state->outputBits = options.bits;
    state->outputChannels = options.channels;
    auto device = std::unique_ptr<SoundDevice>(new SoundDevice(state));
    if (options.output == SoundOutputKind::Auto && !HeadlessRequested()) {
        device->output_ = Output::Open(state);
    }
    return device;
}

SoundDevice::~SoundDevice() {
    output_.reset();  // no callback runs after this
    Lock lock(state_->mutex);
    for (detail::Voice* v : state_->voices) v->playing = false;
}

std::unique_ptr<SoundBuffer> SoundDevice::CreateBuffer(const SoundBufferDesc& desc) {
    if (desc.flags & kBufferPrimary) return nullptr;
    if (desc.bufferBytes < kBufferSizeMin || desc.bufferBytes > kBufferSizeMax) return nullptr;
    if (!desc.format.IsValid()) return nullptr;
    if (desc.bufferBytes < desc.format.blockAlign) return nullptr;
    auto voice = std::make_shared<detail::Voice>();
    voice->flags = desc.flags;
    voice->format = desc.format;
    voice->data.assign(desc.bufferBytes, desc.format.bitsPerSample == 8 ? 0x80 : 0);
    voice->frames = desc.bufferBytes / desc.format.blockAlign;
    return std::unique_ptr<SoundBuffer>(new SoundBuffer(state_, std::move(voice)));
}

std::size_t SoundDevice::PlayingBufferCount() const {
    Lock lock(state_->mutex);
    std::size_t n = 0;
    for (const detail::Voice* v : state_->voices) n += v->playing ? 1 : 0;
    return n;
}

std::vector<std::int16_t> SoundDevice::RenderFrames(std::size_t frames) {
    std::vector<std::int16_t> out(frames * 2);
    Lock lock(state_->mutex);
    state_->RenderLocked(out);
    return out;
}

}  // namespace brumil::platform
