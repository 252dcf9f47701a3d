#include "platform/base/user_name.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace brumil::platform {

namespace {

constexpr std::size_t kMaxUserName = 255;

std::string Cut(const char* text) {
    std::string s(text);
    s = s.substr(0, s.find('\0'));
    return s.substr(0, kMaxUserName);
}

}  // namespace

std::string SystemUserName() {
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_name != nullptr && found->pw_name[0] != '\0') {
        return Cut(found->pw_name);
    }
    for (const char* var : {"USER", "LOGNAME"}) {
        if (const char* v = std::getenv(var); v != nullptr && v[0] != '\0') return Cut(v);
    }
    return {};
}

}  // namespace brumil::platform
