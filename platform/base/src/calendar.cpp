#include "platform/base/calendar.h"

#include <ctime>

namespace brumil::platform {

CalendarDate Today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (::localtime_r(&now, &local) == nullptr) return {1970, 1, 1};
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

}  // namespace brumil::platform
