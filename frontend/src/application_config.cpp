#include "frontend/application_config.h"

#include "frontend/front_end_jobs.h"

namespace brumil::frontend {

ApplicationConfig::ApplicationConfig() {
    Jobs.Callback = this;
    WorkPicture.CreateBBI(640, 480, 0);
    InstallFrontEndJobs(*this);
}

ApplicationConfig::~ApplicationConfig() {
    // Members are destroyed after this body: keep the list from calling back.
    Jobs.Callback = nullptr;
}

void ApplicationConfig::Coming(Long job, Long message, Long parameter) {
    if (job < kFirstJob || job > kLastJob) return;
    // A copy, so that a procedure may replace its own registration while it
    // runs.
    const JobProcedure procedure = procedures_[static_cast<std::size_t>(job)];
    if (procedure) procedure(*this, job, message, parameter);
}

bool ApplicationConfig::SetJobProcedure(Long job, JobProcedure procedure) {
    if (job < kFirstJob || job > kLastJob) return false;
    procedures_[static_cast<std::size_t>(job)] = std::move(procedure);
    return true;
}

bool ApplicationConfig::HasJobProcedure(Long job) const {
    if (job < kFirstJob || job > kLastJob) return false;
    return static_cast<bool>(procedures_[static_cast<std::size_t>(job)]);
}

std::unique_ptr<ApplicationConfig>& gAppConfig() {
    static std::unique_ptr<ApplicationConfig> app;
    return app;
}

}  // namespace brumil::frontend
