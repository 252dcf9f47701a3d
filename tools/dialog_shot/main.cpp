// brumil_dialog_shot DATA_ROOT JOB...
//
// Runs the game on the data root and, 60 logic steps after the first screen
// began, adds the dialog jobs given (5 key configuration, 6 graphics
// settings) exactly as the window menu's items do, so the dialogs open over
// the running game. BRUMIL_MAX_FRAMES ends the run after that many frames
// (600 when unset). Nothing in the game depends on this program.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/the_app.h"
#include "frontend/application_config.h"
#include "platform/base/files.h"

namespace {

// The front end's empty job, which nothing in the game adds, carries the
// timer that opens the dialogs.
constexpr brumil::Long kTimerJob = 7;
constexpr brumil::Long kStepsBeforeOpening = 60;
constexpr brumil::Long kModalKind = 1;
constexpr brumil::Long kAlwaysKind = 2;

std::int64_t FrameLimit() {
    if (const char* text = std::getenv("BRUMIL_MAX_FRAMES")) return std::strtoll(text, nullptr, 10);
    return 600;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace brumil;
    if (argc < 3) {
        std::fprintf(stderr, "usage: brumil_dialog_shot DATA_ROOT JOB...  (JOB 5 or 6)\n");
        return 2;
    }
    platform::SetDataRoot(std::filesystem::absolute(argv[1]));
    std::vector<Long> jobs;
    for (int i = 2; i < argc; ++i) jobs.push_back(std::strtol(argv[i], nullptr, 10));

    app::AppServices services;
    services.frameLimit = FrameLimit();
    services.connect = [jobs](framework::CMaxwell& host) {
        const bool connected = host.Connect();
        auto& front = frontend::gAppConfig();
        if (!front) return connected;
        // The job list calls a copy of the procedure: the count lives outside.
        auto steps = std::make_shared<Long>(0);
        front->SetJobProcedure(
            kTimerJob, [jobs, steps](frontend::ApplicationConfig& app, Long, Long message, Long) {
                if (message != 0 || ++*steps != kStepsBeforeOpening) return;
                for (Long job : jobs)
                    app.Job().Add(frontend::ApplicationConfig::Key(job), kModalKind);
                app.Job().Remove(frontend::ApplicationConfig::Key(kTimerJob));
            });
        front->Job().Add(frontend::ApplicationConfig::Key(kTimerJob), kAlwaysKind);
        return connected;
    };
    return app::Main(services);
}
