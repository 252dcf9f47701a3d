#pragma once
// CmsACM: the compressed music player, for files the library's own players
// cannot take. Each loaded file plays through one of two back ends: a media
// graph (volume, tempo, seeking and length), or, when no graph can be made or
// the graph cannot render the file, the command-string interpreter on the one
// device alias "bgmfile" (open, play, stop, close and loop only).
//
// Ownership: the object owns its graph and shares its command interpreter
// with whoever made it. It listens to the framework's timer only to keep the
// back ends' streams filled; the end of the music is found by polling in
// Update, which the one-call player calls on every tick while this plays.

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "core/vb_types.h"
#include "framework/splib.h"
#include "platform/media/media_commands.h"
#include "platform/media/media_graph.h"

namespace brumil::sound {

// The two back ends. A graph maker that answers nothing means no graph can
// be made: every file then goes to the commands.
struct AcmBackends {
    std::function<std::unique_ptr<platform::MediaGraph>()> makeGraph;
    std::shared_ptr<platform::MediaCommands> commands;
};

// Both back ends over the framework's sound device.
AcmBackends DefaultAcmBackends();

class CmsACM final : public framework::ILibEvents {
public:
    // State values.
    static constexpr Long kNothing = 0;
    static constexpr Long kLoaded = 1;
    static constexpr Long kPlaying = 2;
    static constexpr Long kStopped = 3;

    explicit CmsACM(AcmBackends backends = DefaultAcmBackends());
    ~CmsACM() override;
    CmsACM(const CmsACM&) = delete;
    CmsACM& operator=(const CmsACM&) = delete;

    // True: at the end the music stops (state 3); false: it starts again.
    bool PlayOnce = false;

    // Opens a music file (a leading "\" is the data root). feedTime is
    // accepted and not used; tempo in semitones (outside -12..12: 0), volume
    // linear, startedTime in seconds. 0 when loaded; 1, with the current
    // music left as it was, when the file is missing or does not decode; 1,
    // with nothing loaded, when neither back end could open it.
    Long Load(std::string_view mediaFile, Long feedTime = 0, Single tempo = 0.0f,
              Single volum = 1.0f, double startedTime = 0.0);
    void Play();
    void Pose();
    // End-of-music check and loop; only while playing.
    void Update();
    double GetLength();
    bool GetState() const { return state_ == kPlaying; }
    void SetTime(double seconds);
    void SetTempo(Single semitones);
    void SetVolum(Single volume);
    // Closes both back ends; the state stays.
    void CloseDevice();

    // ---- Inspection -----------------------------------------------------------
    Long State() const { return state_; }
    bool GraphAvailable() const { return graphAvailable_; }
    bool UseGraph() const { return useGraph_; }
    const std::string& FileName() const { return fileName_; }
    double GraphLength() const { return graphLength_; }
    double LoopStart() const { return loopStart_; }
    platform::MediaGraph* Graph() { return graph_.get(); }

    void xLib_Timer(double delta) override;

private:
    // The graph back end.
    bool GraphBuild(const std::string& file, Single rate);
    void RateChange(Single rate);
    void ReadGraphLength();
    void GraphPlay();
    void GraphClose();
    void GraphUpdate();
    // The command back end.
    platform::MediaCommandError Command(std::string_view text);
    bool CommandOpen(const std::string& file);
    void CommandClose();
    void CommandUpdate();

    AcmBackends backends_;
    std::unique_ptr<platform::MediaGraph> graph_;
    bool graphAvailable_ = false;
    bool useGraph_ = false;
    Long state_ = kNothing;
    std::string fileName_;
    double graphLength_ = 0.0;
    double loopStart_ = 0.0;
    framework::LibEventSubscription events_{this};
};

}  // namespace brumil::sound
