#include "platform/base/user_name.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

namespace brumil::platform {
namespace {

TEST(UserName, IsTheLoginNameCutToItsLimit) {
    const std::string name = SystemUserName();
    EXPECT_LE(name.size(), 255u);
    EXPECT_EQ(name.find('\0'), std::string::npos);
    // Where the password database knows the user, that is the name.
    if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_name[0] != '\0') {
        EXPECT_EQ(name, std::string(pw->pw_name).substr(0, 255));
    }
}

}  // namespace
}  // namespace brumil::platform
