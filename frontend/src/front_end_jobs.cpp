#include "frontend/front_end_jobs.h"

#include "frontend/key_setup_screen.h"
#include "frontend/logo_sequence.h"
#include "frontend/network_jobs.h"
#include "frontend/service_jobs.h"

namespace brumil::frontend {
namespace {

struct JobEntry {
    Long job;
    void (*procedure)(ApplicationConfig&, Long, Long, Long);
};

// One line per job whose procedure exists. Jobs 1 to 6, 8 to 21 join this
// table as their screens and services land; job 22 is a development report
// and never runs.
constexpr JobEntry kFrontEndJobs[] = {
    {1, AppJob1_KeySetup},    {2, AppJob2_MenuTicker}, {3, AppJob3_NetworkSetup},
    {4, AppJob4_NetworkLink}, {5, AppJob5_KeyDialog},  {6, AppJob6_GraphicsDialog},
    {7, AppJob7_Empty},       {8, AppJob8_Closing},    {9, AppJob9_ApplyGraphics},
    {10, AppJob10_Logo},
};

}  // namespace

void AppJob7_Empty(ApplicationConfig&, Long, Long, Long) {}

void InstallFrontEndJobs(ApplicationConfig& app) {
    for (const JobEntry& entry : kFrontEndJobs) app.SetJobProcedure(entry.job, entry.procedure);
}

}  // namespace brumil::frontend
