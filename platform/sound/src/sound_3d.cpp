// The 3D buffer, the listener and the gain model shared by every voice.
//
// Gain model (single precision):
// - volume: g = 10^(mB / 2000); kVolumeMin and below are silent (exactly 0);
// - pan: the side away from the pan loses |pan| hundredths of a decibel, the
//   other side keeps full level; +/-10000 silences the far side;
// - 3D (buffers made with kBufferCtrl3D): with d the distance from the listener,
//   clamped to the buffer's maximum distance, the gain is 1 up to the minimum
//   distance and min / (min + rolloff x (d - min)) beyond it; the side opposite
//   to the source is scaled by 1 - 0.5 x |x / d| (x: the source's offset to the
//   listener's right). Velocities are kept but produce no Doppler shift.

#include <cmath>

#include "mixer_state.h"

namespace brumil::platform {

using Lock = std::lock_guard<std::mutex>;

namespace detail {

float GainFromHundredthsDb(std::int32_t mB) {
    if (mB <= kVolumeMin) return 0.0f;
    if (mB >= 0) return 1.0f;
    return static_cast<float>(std::pow(10.0, mB / 2000.0));
}

SideGains VoiceGains(const Voice& v, const ListenerSettings& listener) {
    SideGains g;
    const float volume = GainFromHundredthsDb(v.volume);
    g.left = volume;
    g.right = volume;
    if (v.pan > 0) g.left *= GainFromHundredthsDb(-v.pan);
    if (v.pan < 0) g.right *= GainFromHundredthsDb(v.pan);
    if (v.flags & kBufferCtrl3D) {
        const Placement3D& p = v.applied;
        const float dx = p.position.x - listener.position.x;
        const float dy = p.position.y - listener.position.y;
        const float dz = p.position.z - listener.position.z;
        const float distance = std::sqrt(dx * dx + dy * dy + dz * dz);
        const float d = std::fmin(distance, p.maxDistance);
        float attenuation = 1.0f;
        if (d > p.minDistance) {
            attenuation = p.minDistance / (p.minDistance + listener.rolloff * (d - p.minDistance));
        }
        g.left *= attenuation;
        g.right *= attenuation;
        if (distance > 0.0f) {
            const float side = dx / distance;  // -1 left .. 1 right
            if (side > 0.0f) g.left *= 1.0f - 0.5f * side;
            if (side < 0.0f) g.right *= 1.0f + 0.5f * side;
        }
    }
    return g;
}

}  // namespace detail

namespace {

bool Finite(float a, float b, float c) {
    return std::isfinite(a) && std::isfinite(b) && std::isfinite(c);
}

bool ValidApply(std::uint32_t apply) {
    return apply == k3DImmediate || apply == k3DDeferred;
}

// Stores a value in the requested set and, when immediate, also in the applied
// set; a deferred value waits for CommitDeferredSettings.
template <typename Record, typename Set>
void Store(Record& requested, Record& applied, bool& pending, std::uint32_t apply, Set set) {
    set(requested);
    if (apply == k3DImmediate) {
        set(applied);
    } else {
        pending = true;
    }
}

}  // namespace

SoundResult Sound3DBuffer::SetPosition(float x, float y, float z, std::uint32_t apply) {
    if (!Finite(x, y, z) || !ValidApply(apply)) return SoundResult::InvalidParam;
    Lock lock(state_->mutex);
    Store(voice_->requested, voice_->applied, voice_->pending3D, apply,
          [&](detail::Placement3D& p) {
              p.position = {x, y, z};
          });
    return SoundResult::Ok;
}

SoundResult Sound3DBuffer::SetVelocity(float x, float y, float z, std::uint32_t apply) {
    if (!Finite(x, y, z) || !ValidApply(apply)) return SoundResult::InvalidParam;
    Lock lock(state_->mutex);
    Store(voice_->requested, voice_->applied, voice_->pending3D, apply,
          [&](detail::Placement3D& p) {
              p.velocity = {x, y, z};
          });
    return SoundResult::Ok;
}

SoundResult Sound3DBuffer::SetMinDistance(float d, std::uint32_t apply) {
    if (!(d > 0.0f) || !std::isfinite(d) || !ValidApply(apply)) return SoundResult::InvalidParam;
    Lock lock(state_->mutex);
    Store(voice_->requested, voice_->applied, voice_->pending3D, apply,
          [&](detail::Placement3D& p) { p.minDistance = d; });
    return SoundResult::Ok;
}

SoundResult Sound3DBuffer::SetMaxDistance(float d, std::uint32_t apply) {
    if (!(d > 0.0f) || !std::isfinite(d) || !ValidApply(apply)) return SoundResult::InvalidParam;
    Lock lock(state_->mutex);
    Store(voice_->requested, voice_->applied, voice_->pending3D, apply,
          [&](detail::Placement3D& p) { p.maxDistance = d; });
    return SoundResult::Ok;
}

Vector3 Sound3DBuffer::GetPosition() const {
    Lock lock(state_->mutex);
    return voice_->requested.position;
}

Vector3 Sound3DBuffer::GetVelocity() const {
    Lock lock(state_->mutex);
    return voice_->requested.velocity;
}

float Sound3DBuffer::GetMinDistance() const {
    Lock lock(state_->mutex);
    return voice_->requested.minDistance;
}

float Sound3DBuffer::GetMaxDistance() const {
    Lock lock(state_->mutex);
    return voice_->requested.maxDistance;
}

SoundResult Sound3DListener::SetPosition(float x, float y, float z, std::uint32_t apply) {
    if (!Finite(x, y, z) || !ValidApply(apply)) return SoundResult::InvalidParam;
    Lock lock(state_->mutex);
    bool pending = false;
    Store(state_->listenerRequested, state_->listenerApplied, pending, apply,
          [&](detail::ListenerSettings& l) {
              l.position = {x, y, z};
          });
    return SoundResult::Ok;
}

SoundResult Sound3DListener::SetVelocity(float x, float y, float z, std::uint32_t apply) {
    if (!Finite(x, y, z) || !ValidApply(apply)) return SoundResult::InvalidParam;
    Lock lock(state_->mutex);
    bool pending = false;
    Store(state_->listenerRequested, state_->listenerApplied, pending, apply,
          [&](detail::ListenerSettings& l) {
              l.velocity = {x, y, z};
          });
    return SoundResult::Ok;
}

SoundResult Sound3DListener::SetRolloffFactor(float f, std::uint32_t apply) {
    if (!(f >= 0.0f && f <= 10.0f) || !ValidApply(apply)) return SoundResult::InvalidParam;
    Lock lock(state_->mutex);
    bool pending = false;
    Store(state_->listenerRequested, state_->listenerApplied, pending, apply,
          [&](detail::ListenerSettings& l) { l.rolloff = f; });
    return SoundResult::Ok;
}

Vector3 Sound3DListener::GetPosition() const {
    Lock lock(state_->mutex);
    return state_->listenerRequested.position;
}

Vector3 Sound3DListener::GetVelocity() const {
    Lock lock(state_->mutex);
    return state_->listenerRequested.velocity;
}

float Sound3DListener::GetRolloffFactor() const {
    Lock lock(state_->mutex);
    return state_->listenerRequested.rolloff;
}

SoundResult Sound3DListener::CommitDeferredSettings() {
    Lock lock(state_->mutex);
    state_->listenerApplied = state_->listenerRequested;
    for (detail::Voice* v : state_->voices) {
        if (v->pending3D) {
            v->applied = v->requested;
            v->pending3D = false;
        }
    }
    return SoundResult::Ok;
}

}  // namespace brumil::platform
