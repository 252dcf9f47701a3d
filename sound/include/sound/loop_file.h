#pragma once
// Loop files (".sli"): the loop points of a WAV or Ogg music file, as lines of
// key=value text.
//
//   LOOPSTART=44100
//   LOOPLENGTH=882000
//
// Keys are trimmed and compared without case; values are read leniently
// (0 for text that is no number); other lines are ignored and a later line
// overrides an earlier one. Lines end with CR LF or a lone LF. Both values
// count sample frames.

#include <string>
#include <string_view>
#include <vector>

#include "core/vb_types.h"

namespace brumil::sound {

struct LoopPoints {
    Long loopStart = 0;   // first frame of the loop
    Long loopLength = 0;  // frames in the loop; 0: no loop file, loop the whole sound
    bool operator==(const LoopPoints&) const = default;
};

LoopPoints ParseLoopText(std::string_view text);

// The loop files looked for, in order, for a music file: the name with ".sli"
// appended, then <folder>\<base>.wav.sli and <folder>\<base>.ogg.sli.
std::vector<std::string> LoopFileCandidates(std::string_view file);

// The loop points of the first candidate whose text is not empty (plain file
// or pak entry); both 0 when there is none.
LoopPoints ReadLoopFile(std::string_view file);

}  // namespace brumil::sound
