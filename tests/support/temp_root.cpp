#include "temp_root.h"

#include <unistd.h>

#include <atomic>
#include <fstream>

#include "platform/base/files.h"

namespace brumil::testing {
namespace fs = std::filesystem;

TempDataRoot::TempDataRoot() : previous_(platform::DataRoot()) {
    static std::atomic<int> counter{0};
    path_ = fs::temp_directory_path() /
            ("brumil-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(path_);
    fs::create_directories(path_);
    platform::SetDataRoot(path_);
}

TempDataRoot::~TempDataRoot() {
    platform::SetDataRoot(previous_);
    std::error_code ec;
    fs::remove_all(path_, ec);
}

void TempDataRoot::Write(std::string_view relative, std::string_view bytes) const {
    const fs::path target = path_ / fs::path(std::string(relative));
    fs::create_directories(target.parent_path());
    std::ofstream out(target, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace brumil::testing
