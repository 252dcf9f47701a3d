#include "platform/collision/collision.h"

namespace brumil::platform::collision {
namespace {

// Outstanding loads; the library's state lives as long as one is held.
int& LoadCount() {
    static int count = 0;
    return count;
}

}  // namespace

std::int32_t LoadDLL() {
    ++LoadCount();
    return 1;
}

std::int32_t UnloadDLL() {
    if (LoadCount() == 0) return 0;
    --LoadCount();
    return 1;
}

std::int32_t version() {
    return IsLoaded() ? kVersion : 0;
}

bool IsLoaded() {
    return LoadCount() > 0;
}

}  // namespace brumil::platform::collision
