#pragma once
// Job 10, the logo sequence: between the key set-up screen and the title it
// fades the maker's logo in over the key set-up screen's last picture, holds
// it, and hands over to the title (job 11). A decide or cancel input skips it.
//
// Without input it lasts one set-up step, 64 fade steps and 32 hold steps,
// then ends on the next step. Fade frames are drawn only in drawn steps; the
// extra logic steps of a frame still count, so a slow display fades in the
// same time with fewer frames.

#include "core/vb_types.h"
#include "frontend/job_numbers.h"

namespace brumil::frontend {

class ApplicationConfig;

inline constexpr Long kLogoFadeSteps = 64;
inline constexpr Long kLogoHoldSteps = 32;
// A logo step at or past this ends the sequence (a skip jumps to it).
inline constexpr Long kLogoEndStep = 6;

// The fade's progress after `frame` steps of it: frame / 64, held to 0..1.
Single LogoFadeProgress(Long frame);

// The job procedure (message 1 begin, 2 end, 0 every step).
void AppJob10_Logo(ApplicationConfig& app, Long job, Long message, Long parameter);

}  // namespace brumil::frontend
