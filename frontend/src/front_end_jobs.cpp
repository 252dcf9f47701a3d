#include "frontend/front_end_jobs.h"

#include "frontend/battle_start.h"
#include "frontend/chara_select.h"
#include "frontend/continue_screen.h"
#include "frontend/job_numbers.h"
#include "frontend/key_setup_screen.h"
#include "frontend/level_select.h"
#include "frontend/logo_sequence.h"
#include "frontend/network_jobs.h"
#include "frontend/service_jobs.h"
#include "frontend/title_screen.h"

namespace brumil::frontend {
namespace {

struct JobEntry {
    Long job;
    void (*procedure)(ApplicationConfig&, Long, Long, Long);
};

// One line per job whose procedure exists. Jobs 3 and 4 join this table when
// the network screens land; job 22 is a development report and never runs.
constexpr JobEntry kFrontEndJobs[] = {
    {kKeySetupJob, AppJob1_KeySetup},
    {kMenuTickerJob, AppJob2_MenuTicker},
    {kNetworkSetupJob, AppJob3_NetworkSetup},
    {kNetworkLinkJob, AppJob4_NetworkLink},
    {kKeyDialogJob, AppJob5_KeyDialog},
    {kGraphicsDialogJob, AppJob6_GraphicsDialog},
    {kEmptyJob, AppJob7_Empty},
    {kClosingJob, AppJob8_Closing},
    {kApplyGraphicsJob, AppJob9_ApplyGraphics},
    {kLogoJob, AppJob10_Logo},
    {kTitleJob, TitleJob},
    {kArcadeLevelJob, LevelSelectJob},
    {kArcadeCharaJob, CharaSelectJob},
    {kFreeFightLevelJob, LevelSelectJob},
    {kFreeFightCharaJob, CharaSelectJob},
    {kVersusLevelJob, LevelSelectJob},
    {kVersusCharaJob, CharaSelectJob},
    {kNetworkLevelJob, LevelSelectJob},
    {kNetworkCharaJob, CharaSelectJob},
    {kBattleStartJob, BattleStartJob},
    {kMatchSequenceJob, ContinueJob},
};

}  // namespace

void AppJob7_Empty(ApplicationConfig&, Long, Long, Long) {}

void InstallFrontEndJobs(ApplicationConfig& app) {
    for (const JobEntry& entry : kFrontEndJobs) app.SetJobProcedure(entry.job, entry.procedure);
}

}  // namespace brumil::frontend
