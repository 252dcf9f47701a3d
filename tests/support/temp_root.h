#pragma once
// A temporary folder that serves as the data root for one test and is removed
// afterwards; the previous data root comes back.

#include <filesystem>
#include <string>
#include <string_view>

namespace brumil::testing {

class TempDataRoot {
public:
    TempDataRoot();
    ~TempDataRoot();
    TempDataRoot(const TempDataRoot&) = delete;
    TempDataRoot& operator=(const TempDataRoot&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // Writes a file below the root (folders created), for test fixtures.
    void Write(std::string_view relative, std::string_view bytes) const;

private:
    std::filesystem::path path_;
    std::filesystem::path previous_;
};

}  // namespace brumil::testing
