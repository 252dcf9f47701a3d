#pragma once
// The table of the front end's job procedures: which job number runs which
// procedure. A screen or service becomes part of the game by getting its line
// in this table (front_end_jobs.cpp); nothing else dispatches on job numbers.

#include "frontend/application_config.h"

namespace brumil::frontend {

// Job 7: an empty job that ignores every message. Nothing adds it.
void AppJob7_Empty(ApplicationConfig& app, Long job, Long message, Long parameter);

// Registers every procedure of the table on `app`.
void InstallFrontEndJobs(ApplicationConfig& app);

}  // namespace brumil::frontend
