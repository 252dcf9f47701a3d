#pragma once
// ApplicationConfig: the front end. It owns the job list on which every
// screen and service outside the battle runs as a job (numbers 1 to 22), is
// that list's callback, and dispatches each message to the procedure
// registered for the job's number.
//
// Screens plug in by registering a procedure (see front_end_jobs.h); a job
// number without a procedure is ignored: the list refuses to add it.
//
// Other parts add and remove jobs with Job().Add(Key(n), kind) and
// Job().Remove(Key(n)). Adds and removes take effect at the list's next Poll:
// a screen that removes itself and adds its successor in one step hears
// message 2 before the successor hears message 1, both on the next step.

#include <array>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "core/rect.h"
#include "core/vb_types.h"
#include "framework/job_list.h"
#include "frontend/screen_state.h"
#include "frontend/view.h"
#include "image/cmg_bbi.h"

namespace brumil::frontend {

class ApplicationConfig;
class ServiceJobHost;
class ScreenHost;

// A job's procedure: (the front end, job number, message, parameter).
using JobProcedure = std::function<void(ApplicationConfig&, Long, Long, Long)>;

// A source of whole numbers min..max inclusive.
using RandomRange = std::function<Long(Long, Long)>;

class ApplicationConfig final : public framework::IJobResis {
public:
    static constexpr Long kFirstJob = 1;
    static constexpr Long kLastJob = 22;

    // Makes the job list (with this object as its callback), WorkPicture at
    // 640x480, and registers the jobs that exist (InstallFrontEndJobs).
    ApplicationConfig();
    ~ApplicationConfig() override;
    ApplicationConfig(const ApplicationConfig&) = delete;
    ApplicationConfig& operator=(const ApplicationConfig&) = delete;

    // The menu view of the screen on show. A screen makes it when it begins
    // and drops it (reset) when it ends, so the next screen starts afresh.
    std::unique_ptr<CView> CurrentView;
    // The last frame of the screen that ended, 640x480; the next screen fades
    // in from it.
    image::CmgBBI WorkPicture;
    // The title screen's mode: 1 arcade, 2 free fight, 3 one player against
    // another, 4 network.
    Long TitleMode = 0;
    // The front end's job list; its callback is this object.
    framework::CJobResis Jobs;
    ScreenState State;
    // What the service jobs (service_jobs.h) act on outside the front end;
    // set by the application shell. Not owned.
    ServiceJobHost* ServiceHost = nullptr;
    // What the screens (key set-up, logo, ...) use outside the front end; set
    // by the application shell. Not owned; without it the screens do nothing.
    ScreenHost* Screens = nullptr;

    // The job-list key of job number n.
    static constexpr Long Key(Long n) { return n; }
    framework::CJobResis& Job() { return Jobs; }

    // The job-list callback: hands the message to the procedure of the job's
    // number; numbers outside 1..22 and numbers without a procedure are
    // ignored.
    void Coming(Long job, Long message, Long parameter) override;
    // Only job numbers with a procedure join the list: a menu item whose job
    // does not exist yet (network set-up before network play) does nothing
    // rather than suspending the screen below for good.
    bool Accepts(Long key) const override { return HasJobProcedure(key); }
    // The same under the front end's own name.
    void IJobResis_Coming(Long job, Long message, Long parameter) {
        Coming(job, message, parameter);
    }

    // Registers (or, with an empty procedure, clears) the procedure of a job
    // number; false for a number outside 1..22.
    bool SetJobProcedure(Long job, JobProcedure procedure);
    bool HasJobProcedure(Long job) const;

    // ---- Character tables (character select and continue screens) ----------
    // Slot on the select screen -> character id; slot 8 and any slot outside
    // 0..8 give 0, the random pick.
    static Long IndexExchange(Long slot);
    // The portrait box of a character: (0, y, 420, 420), y by id, 0 for ids
    // outside 1..8.
    static core::CRect CharaRect(Long id);
    // The character's data folder with a trailing "\"; "chara_none\" for 0,
    // "" outside 0..8.
    static std::string CharaFolder(Long id);
    // The display name for 1..8, "？" for 0, "" otherwise.
    static std::string CharaName(Long id);
    // The description shown on the select screen, lines joined by CR LF;
    // "" outside 0..8.
    static std::string CharaHint(Long id);
    // An opponent id 1..8 equal to no element of `taken`: draws rnd(1, 8) until
    // one fits. When every id 1..8 is taken there is none to draw, and the
    // answer is 0 without drawing.
    static Long GetEnem(std::span<const Long> taken, const RandomRange& rnd);
    // The same with the helper object's generator (CApi::Rnd).
    static Long GetEnem(std::span<const Long> taken);

private:
    std::array<JobProcedure, kLastJob + 1> procedures_{};  // index = job number
};

// The run's front end: made by the main window's start-up and released at its
// shut-down.
std::unique_ptr<ApplicationConfig>& gAppConfig();

}  // namespace brumil::frontend
