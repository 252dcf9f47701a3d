#include "core/text.h"
#include "core/val.h"
#include "sound/loop_file.h"

namespace brumil::sound {
namespace {

std::string_view TrimBlanks(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

}  // namespace

LoopPoints ParseLoopText(std::string_view text) {
    LoopPoints p;
    while (!text.empty()) {
        // A lone LF ends a line as well as CR LF; the CR of CR LF is dropped.
        const auto lf = text.find('\n');
        std::string_view line = text.substr(0, lf);
        text = lf == std::string_view::npos ? std::string_view{} : text.substr(lf + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

        const auto eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        const std::string key = core::LowerAscii(TrimBlanks(line.substr(0, eq)));
        const std::string_view value = line.substr(eq + 1);
        if (key == "loopstart") {
            p.loopStart = core::LVal(value);
        } else if (key == "looplength") {
            p.loopLength = core::LVal(value);
        }
    }
    return p;
}

}  // namespace brumil::sound
