// Finding and reading the loop file of a music file.
#include "sound/loop_file.h"

#include "core/api.h"

namespace brumil::sound {

std::vector<std::string> LoopFileCandidates(std::string_view file) {
    core::CApi& api = core::gApi();
    const std::string folder = api.GetFilePath(file);
    const std::string stem =
        (folder.empty() ? std::string() : folder + "\\") + api.GetFileName(file);
    return {std::string(file) + ".sli", stem + ".wav.sli", stem + ".ogg.sli"};
}

LoopPoints ReadLoopFile(std::string_view file) {
    for (const auto& candidate : LoopFileCandidates(file)) {
        const std::string text = core::gApi().LoadText(candidate);
        if (!text.empty()) return ParseLoopText(text);
    }
    return {};
}

}  // namespace brumil::sound
