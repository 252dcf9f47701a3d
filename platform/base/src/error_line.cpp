#include "platform/base/error_line.h"

#include <cstdio>
#include <string>

namespace brumil::platform {

void WriteErrorLine(std::string_view line) {
    std::string text(line);
    text.push_back('\n');
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

}  // namespace brumil::platform
