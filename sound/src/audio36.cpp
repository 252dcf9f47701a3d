// CAudio36: loading, play and stop, the cursor, the fades and the framework's
// events. What is said to each kind of player is in audio36_players.cpp.
#include "sound/audio36.h"

#include "core/text.h"
#include "sound/ms_acm.h"
#include "sound/ms_stm.h"
#include "sound/ms_wav.h"
#include "sound/ms_wit.h"

namespace brumil::sound {
namespace {

constexpr double kStoppedElapsed = 0.0001;

}  // namespace

CAudio36::CAudio36() = default;

CAudio36::~CAudio36() {
    PlayerRelease();
}

CmsWAV& CAudio36::Wav() {
    if (!wav_) wav_ = std::make_unique<CmsWAV>();
    return *wav_;
}
CmsSTM& CAudio36::Stm() {
    if (!stm_) stm_ = std::make_unique<CmsSTM>();
    return *stm_;
}
CmsACM& CAudio36::Acm() {
    if (!acm_) acm_ = std::make_unique<CmsACM>();
    return *acm_;
}
CmsWIT& CAudio36::Wit() {
    if (!wit_) wit_ = std::make_unique<CmsWIT>();
    return *wit_;
}

Long CAudio36::Load(std::string_view file) {
    PlayerRelease();
    // The stream player takes WIT containers and plain ".wav" and ".ogg"
    // files, so the game's music stops at the first step.
    if (Wit().Load(file) == 0) {
        kind_ = kWIT;
    } else if (!Config.NoWholeLoad && Wav().Load(file) == 0) {
        kind_ = kWAV;
    } else if (!Config.NoWholeLoad && core::LowerAscii(file) == "*wav") {
        // A silent placeholder: 100 bytes of 8-bit mono at 22050 Hz.
        kind_ = kWAV;
        Wav().Add(100, 8, 1, 22050);
    } else if (Stm().FileOpen(file) == 0) {
        kind_ = kSTM;
    } else if (Acm().Load(file, 0, 0.0f, 1.0f, 0.0) == 0) {
        kind_ = kACM;
    } else {
        return 1;
    }
    PlayerBufferCreate();
    return 0;
}

void CAudio36::Play(bool loop, Single volume, Long fadeIn, std::optional<Single> pan) {
    Config.Volume = volume;
    Config.FadeInTime = fadeIn;
    if (now_.State != 0) PlayerStop();
    if (Config.FadeInTime > 0) {
        // A fade-in always starts from silence.
        VolumeSet(0.0f);
        now_.Volume = 0.0f;
        Config.VolumeFadeTime = Config.FadeInTime;
    } else {
        VolumeSet(Config.Volume);
        now_.Volume = Config.Volume;
    }
    if (pan) Config.PanX = *pan;
    PanApply(Config.PanX, Config.PanY, Config.PanZ, 0.0f, 0.0f, 0.0f);
    now_.PanX = Config.PanX;
    now_.PanY = Config.PanY;
    now_.PanZ = Config.PanZ;
    now_.PanFadeRemain = 0;
    TempoApply(Config.Tempo);
    now_.Tempo = Config.Tempo;
    last_ = now_;
    now_.State = 1;
    PlayerPlay(loop);
}

void CAudio36::Pose() {
    if (Config.FadeOutTime < 1) {
        PlayerStop();
        return;
    }
    if (now_.State == 0) return;
    now_.State = 2;
    Config.VolumeFadeTime = Config.FadeOutTime;
    Config.Volume = 0.0f;
    // Already silent with no fade running: no fade would start, and the
    // silent stream would run on. Stop now.
    if (last_.Volume == Config.Volume && volumeFadeRemain_ <= 0.0) PlayerStop();
}

double CAudio36::Cursor() const {
    return now_.State != 0 ? elapsed_ / 1000.0 : 0.0;
}

void CAudio36::Cursor(double seconds) {
    if (seconds < 0.0) seconds = 0.0;
    const double max = CursorMax();
    if (seconds > max) seconds = max - 1.0;
    // A sound shorter than a second has nowhere before its end to land.
    if (seconds < 0.0) seconds = 0.0;
    if (kind_ == kNone) return;
    PlayerSeek(seconds);
    elapsed_ = seconds * 1000.0 + kStoppedElapsed;
}

double CAudio36::CursorMax() {
    return PlayerLength();
}

CAudio36::LocalPlayer CAudio36::LocalObject() {
    switch (kind_) {
        case kWAV:
            return wav_.get();
        case kSTM:
            return stm_.get();
        case kACM:
            return acm_.get();
        case kWIT:
            return wit_.get();
        default:
            return std::monostate{};
    }
}

void CAudio36::xLib_Timer(double delta) {
    if (now_.State == 0) return;
    if (!PlayerIsPlaying()) {
        // A sound that ended or a stream that ran out.
        PlayerStop();
        return;
    }
    elapsed_ += delta;
    TempoUpdate();
    PanUpdate(RoundToLong(delta));
    VolumeUpdate(delta);
    PlayerPump();
}

void CAudio36::xLib_AudioVolumeReset() {
    if (now_.State != 0) VolumeApply();
}

void CAudio36::xLib_AudioVolumeFadeout(std::int32_t fadeTime) {
    if (now_.State == 0) return;
    // The music fades to silence and keeps playing.
    Config.Volume = 0.0f;
    Config.VolumeFadeTime = fadeTime;
}

void CAudio36::VolumeSet(Single v) {
    volumeOut_ = v;
    VolumeApply();
}

void CAudio36::TempoUpdate() {
    // Tempo changes are not faded.
    if (Config.Tempo == last_.Tempo) return;
    TempoApply(Config.Tempo);
    last_.Tempo = Config.Tempo;
}

void CAudio36::VolumeUpdate(double delta) {
    const Single target = Config.Volume;
    if (target != last_.Volume) {
        last_.Volume = target;
        volumeFadeRemain_ = Config.VolumeFadeTime;
    }
    if (volumeFadeRemain_ < 0.0) return;
    const double before = volumeFadeRemain_;
    volumeFadeRemain_ = before - delta;
    if (volumeFadeRemain_ <= 0.0) {
        if (now_.State == 2) {
            VolumeSet(0.0f);
            PlayerStop();
        } else {
            VolumeSet(Config.Volume);
            now_.Volume = Config.Volume;
        }
        return;
    }
    // Each step covers delta / remaining of the way: linear in time.
    const auto r = static_cast<Single>(delta / before);
    if (now_.State == 2) {
        now_.Volume = (1.0f - r) * now_.Volume;
    } else {
        now_.Volume = (1.0f - r) * now_.Volume + r * Config.Volume;
    }
    VolumeSet(now_.Volume);
}

void CAudio36::PanUpdate(Long d) {
    if (Config.PanX != last_.PanX || Config.PanY != last_.PanY || Config.PanZ != last_.PanZ) {
        last_.PanX = Config.PanX;
        last_.PanY = Config.PanY;
        last_.PanZ = Config.PanZ;
        now_.PanFadeRemain = Config.PanFadeTime;
    }
    if (now_.PanFadeRemain < 0) return;
    const Long before = now_.PanFadeRemain;
    now_.PanFadeRemain = before - d;
    if (now_.PanFadeRemain <= 0) {
        PanApply(Config.PanX, Config.PanY, Config.PanZ, 0.0f, 0.0f, 0.0f);
        now_.PanX = Config.PanX;
        now_.PanY = Config.PanY;
        now_.PanZ = Config.PanZ;
        return;
    }
    const Single r = static_cast<Single>(d) / static_cast<Single>(before);
    now_.PanX = Config.PanX * r + (1.0f - r) * now_.PanX;
    now_.PanY = Config.PanY * r + (1.0f - r) * now_.PanY;
    now_.PanZ = Config.PanZ * r + (1.0f - r) * now_.PanZ;
    PanApply(now_.PanX, now_.PanY, now_.PanZ, Config.PanX * r, Config.PanY * r, Config.PanZ * r);
}

}  // namespace brumil::sound
