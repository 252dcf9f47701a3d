#pragma once
// CAudio36: the one-object music player. Load hands the file to the first
// player that opens it (WIT/Ogg stream, whole sound, streamed WAV, compressed
// music); Play, Pose and the cursor then drive that player through one
// interface, and every framework timer tick advances the fades, follows the
// play record and pumps the player's stream.
//
// Ownership: the object owns its play record and the four players (each made
// on first use and kept for its life). It listens to the framework's events
// (Timer, AudioVolumeReset, AudioVolumeFadeout) for its whole life.

#include <memory>
#include <optional>
#include <string_view>
#include <variant>

#include "core/vb_types.h"
#include "framework/splib.h"
#include "sound/audio_config.h"

namespace brumil::sound {

class CmsWAV;
class CmsSTM;
class CmsACM;
class CmsWIT;

// The values applied to a player (or last seen in the play record).
struct AudioPlayState {
    Long State = 0;  // 0 stopped, 1 playing, 2 fading out towards a stop
    Single Volume = 0.0f;
    Single PanX = 0.0f;
    Single PanY = 0.0f;
    Single PanZ = 0.0f;
    Single Tempo = 0.0f;
    Long PanFadeRemain = 0;  // ms
};

class CAudio36 final : public framework::ILibEvents {
public:
    // Player kinds.
    static constexpr Long kNone = 0;
    static constexpr Long kWAV = 1;
    static constexpr Long kSTM = 2;
    static constexpr Long kACM = 3;
    static constexpr Long kWIT = 4;

    using LocalPlayer = std::variant<std::monostate, CmsWAV*, CmsSTM*, CmsACM*, CmsWIT*>;

    CAudio36();
    ~CAudio36() override;
    CAudio36(const CAudio36&) = delete;
    CAudio36& operator=(const CAudio36&) = delete;

    // The play record, read on every tick.
    CAudioConfig Config;

    // Seconds played while playing, else 0.
    double Cursor() const;
    // Seeks (clamped to 0 .. the length less one second, never below 0).
    void Cursor(double seconds);
    // The current player's length in seconds; 0 when nothing is loaded.
    double CursorMax();

    // 0 when a player opened the file; 1 when none did (the previous music is
    // released either way).
    Long Load(std::string_view file);
    void Load(std::string_view file, Long& result) { result = Load(file); }
    void Play(bool loop, Single volume, Long fadeIn, std::optional<Single> pan = std::nullopt);
    // Stops at once, or fades out over Config.FadeOutTime and then stops.
    void Pose();
    LocalPlayer LocalObject();

    // ---- Inspection -----------------------------------------------------------
    Long PlayerKind() const { return kind_; }
    const AudioPlayState& PlayStateNow() const { return now_; }
    const AudioPlayState& PlayStateLast() const { return last_; }
    Single VolumeOut() const { return volumeOut_; }
    double ElapsedTime() const { return elapsed_; }

    void xLib_Timer(double delta) override;
    void xLib_AudioVolumeReset() override;
    void xLib_AudioVolumeFadeout(std::int32_t fadeTime) override;

private:
    // What is said to the current player (audio36_players.cpp).
    void PlayerBufferCreate();
    void PlayerPlay(bool loop);
    void PlayerStop();
    void PlayerRelease();
    bool PlayerIsPlaying();
    void PlayerSeek(double seconds);
    double PlayerLength();
    void VolumeApply();
    void PanApply(Single a1, Single a2, Single a3, Single a4, Single a5, Single a6);
    void TempoApply(Single t);
    void PlayerPump();

    void VolumeSet(Single v);
    void VolumeUpdate(double delta);
    void PanUpdate(Long d);
    void TempoUpdate();

    CmsWAV& Wav();
    CmsSTM& Stm();
    CmsACM& Acm();
    CmsWIT& Wit();

    Long kind_ = kNone;
    std::unique_ptr<CmsWAV> wav_;
    std::unique_ptr<CmsSTM> stm_;
    std::unique_ptr<CmsACM> acm_;
    std::unique_ptr<CmsWIT> wit_;
    double elapsed_ = 0.0001;
    Single volumeOut_ = 0.0f;
    double volumeFadeRemain_ = 0.0;
    AudioPlayState last_;
    AudioPlayState now_;
    framework::LibEventSubscription events_{this};
};

}  // namespace brumil::sound
