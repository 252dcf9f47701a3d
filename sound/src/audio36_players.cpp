// CAudio36: what is said to each kind of player. Kind 0 (nothing loaded)
// makes every call here a no-op.
#include "sound/audio36.h"
#include "sound/ms_acm.h"
#include "sound/ms_stm.h"
#include "sound/ms_wav.h"
#include "sound/ms_wit.h"
#include "sound_host.h"

namespace brumil::sound {
namespace {

constexpr double kStoppedElapsed = 0.0001;

}  // namespace

void CAudio36::PlayerBufferCreate() {
    Long flags = 0;
    if (Config.UseVolume) flags |= platform::kBufferCtrlVolume;
    if (Config.UseTempo) flags |= platform::kBufferCtrlFrequency;
    if (Config.Use3D) {
        flags |= platform::kBufferCtrl3D;  // a 3D buffer takes no pan control
    } else if (Config.UsePan) {
        flags |= platform::kBufferCtrlPan;
    }
    switch (kind_) {
        case kWAV:
            Wav().BufferCreate(flags);
            Wav().BufferWrite();
            break;
        case kSTM:
            Stm().BufferCreate(flags);
            break;
        case kWIT:
            Wit().SystemBufferCreate();
            Wit().LocalBufferCreate(flags);
            break;
        default:
            break;
    }
}

void CAudio36::PlayerPlay(bool loop) {
    switch (kind_) {
        case kWAV:
            Wav().Play(loop ? 1 : 0);
            break;
        case kSTM:
            Stm().Play(loop ? kTrue : kFalse);
            break;
        case kACM:
            Acm().PlayOnce = !loop;
            Acm().Play();
            break;
        case kWIT:
            Wit().Play(loop ? 1 : 0);
            break;
        default:
            break;
    }
}

void CAudio36::PlayerStop() {
    switch (kind_) {
        case kWAV:
            if (Config.RecreateOnStop) {
                PlayerBufferCreate();
            } else {
                Wav().Pose();
                Wav().SetCurrentPosition(0);
            }
            break;
        case kSTM:
            Stm().Pose();
            Stm().SetCurrentPosition(0);
            break;
        case kACM:
            Acm().Pose();
            Acm().SetTime(0.0);
            break;
        case kWIT:
            Wit().Pose();
            Wit().SetCurrentPosition(0);
            break;
        default:
            break;
    }
    elapsed_ = kStoppedElapsed;
    now_.State = 0;
}

void CAudio36::PlayerRelease() {
    switch (kind_) {
        case kWAV:
            Wav().BufferDelete();
            break;
        case kSTM:
            Stm().FileClose();
            break;
        case kACM:
            Acm().CloseDevice();
            break;
        case kWIT:
            Wit().SystemBufferDelete();
            break;
        default:
            break;
    }
    elapsed_ = kStoppedElapsed;
    now_.State = 0;
    kind_ = kNone;
}

bool CAudio36::PlayerIsPlaying() {
    switch (kind_) {
        case kWAV:
            return Wav().GetState();
        case kSTM:
            return Stm().GetState();
        case kACM:
            return Acm().GetState();
        case kWIT:
            return Wit().GetState();
        default:
            return false;
    }
}

void CAudio36::PlayerSeek(double seconds) {
    switch (kind_) {
        case kWAV:
            Wav().SetTime(seconds);
            break;
        case kSTM:
            Stm().SetTime(seconds);
            break;
        case kACM:
            Acm().SetTime(seconds);
            break;
        case kWIT:
            Wit().SetTime(seconds);
            break;
        default:
            break;
    }
}

double CAudio36::PlayerLength() {
    switch (kind_) {
        case kWAV:
            return Wav().GetLength();
        case kSTM:
            return Stm().GetLength();
        case kACM:
            return Acm().GetLength();
        case kWIT:
            return Wit().GetLength();
        default:
            return 0.0;
    }
}

void CAudio36::VolumeApply() {
    // The master level in percent, applied in double precision.
    const double m = detail::MasterVolumeOffset();
    const auto v = static_cast<Single>(volumeOut_ * (1.0 + m / 100.0));
    switch (kind_) {
        case kWAV:
            Wav().SetVolum(v);
            break;
        case kSTM:
            Stm().SetVolum(v);
            break;
        case kACM:
            Acm().SetVolum(v);
            break;
        case kWIT:
            Wit().SetVolum(v);
            break;
        default:
            break;
    }
}

void CAudio36::PanApply(Single a1, Single a2, Single a3, Single a4, Single a5, Single a6) {
    // The fifth and sixth values change places on the way.
    switch (kind_) {
        case kWAV:
            Wav().SetPan(a1, a2, a3, a4, a6, a5);
            break;
        case kSTM:
            Stm().SetPan(a1, a2, a3, a4, a6, a5);
            break;
        case kWIT:
            Wit().SetPan(a1, a2, a3, a4, a6, a5);
            break;
        default:
            break;  // the compressed music player has no pan
    }
}

void CAudio36::TempoApply(Single t) {
    switch (kind_) {
        case kWAV:
            Wav().SetTempo(t);
            break;
        case kSTM:
            Stm().SetTempo(t);
            break;
        case kACM:
            Acm().SetTempo(t);
            break;
        case kWIT:
            Wit().SetTempo(t);
            break;
        default:
            break;
    }
}

void CAudio36::PlayerPump() {
    switch (kind_) {
        case kSTM:
            Stm().BufferUpdate();
            break;
        case kACM:
            Acm().Update();
            break;
        case kWIT:
            Wit().StreamUpdate();
            break;
        default:
            break;
    }
}

}  // namespace brumil::sound
