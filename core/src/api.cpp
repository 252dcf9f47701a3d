#include "core/api.h"

#include <cstdio>
#include <utility>

#include "platform/base/calendar.h"
#include "platform/base/files.h"
#include "platform/base/message_box.h"
#include "platform/base/single_instance.h"

namespace brumil::core {

CApi::CApi(platform::Clock& clock) : clock_(clock) {}

CApi::~CApi() = default;

CApi& gApi() {
    static CApi api;
    return api;
}

void CApi::AppPrevInstance(std::string_view message) {
    if (instanceLock_) return;
    const auto result = platform::AcquireInstanceLock(instanceLock_);
    if (result != platform::InstanceLockResult::kHeldElsewhere) return;
    if (!message.empty()) {
        platform::ShowMessageBox(message, "Brumil", platform::MessageKind::kWarning);
    }
    platform::EndSecondCopy(0);
}

void CApi::Sleep(Long milliseconds) {
    clock_.SleepMs(milliseconds > 0 ? static_cast<std::uint32_t>(milliseconds) : 0);
}

std::string CApi::GetTimeWideYearMD(bool year, std::string_view afterYear, bool month,
                                    std::string_view afterMonth, bool day,
                                    std::string_view afterDay) {
    const platform::CalendarDate today = platform::Today();
    char buffer[16];
    std::string out;
    if (year) {
        std::snprintf(buffer, sizeof buffer, "%04d", today.year);
        out += buffer;
        out += afterYear;
    }
    if (month) {
        std::snprintf(buffer, sizeof buffer, "%02d", today.month);
        out += buffer;
        out += afterMonth;
    }
    if (day) {
        std::snprintf(buffer, sizeof buffer, "%02d", today.day);
        out += buffer;
        out += afterDay;
    }
    return out;
}

void CApi::DLLTest(std::string_view fileName, bool restore) {
    if (restore) {
        if (!dllTestFolder_.empty()) platform::SetCurrentFolder(dllTestFolder_);
        return;
    }
    dllTestFolder_ = platform::CurrentFolder().string();
    if (!fileName.empty() && platform::FileExists(fileName)) return;
    platform::SetCurrentFolder(platform::ProgramFolder());
}

void CApi::Randomize(std::uint64_t seed) {
    helperRandom_.Seed(seed);
    mathRandom_.Seed(seed);
}

Long CApi::Rnd(Long min, Long max) {
    if (min > max) std::swap(min, max);
    const std::uint64_t span = static_cast<std::uint64_t>(std::int64_t{max} - min) + 1;
    if (span > 0xFFFFFFFFull) return static_cast<Long>(helperRandom_.Next());
    std::uint32_t r = 0;
    if (!helperRandom_.Below(static_cast<std::uint32_t>(span), r)) return Math_Rnd(min, max);
    return static_cast<Long>(std::int64_t{min} + r);
}

Long CApi::RndDLL(Long n) {
    if (n <= 1) return 0;
    std::uint32_t r = 0;
    if (!helperRandom_.Below(static_cast<std::uint32_t>(n), r)) return Math_Rnd(0, n - 1);
    return static_cast<Long>(r);
}

bool CApi::DirFile(std::string_view fullPath) {
    return platform::FileExists(fullPath);
}

void CApi::MakeDir(std::string_view path) {
    if (!platform::FolderExists(path)) platform::MakeDir(path);
}

std::vector<std::string> CApi::GetFolders(std::string_view path, Long skip, Long limit,
                                          bool namesOnly) {
    std::vector<std::string> names = platform::ListFolder(path, true);
    if (skip > 0)
        names.erase(
            names.begin(),
            names.begin() + std::min<std::size_t>(static_cast<std::size_t>(skip), names.size()));
    if (limit > 0 && names.size() > static_cast<std::size_t>(limit)) {
        names.resize(static_cast<std::size_t>(limit));
    }
    if (!namesOnly) {
        std::string base = GetAbolutePath(path);
        if (base.back() != '/') base.push_back('/');
        for (auto& n : names) n = base + n;
    }
    return names;
}

}  // namespace brumil::core
