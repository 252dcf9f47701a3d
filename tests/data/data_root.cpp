#include "data_root.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>

#include "datagen/datagen.h"
#include "framework/sound.h"
#include "platform/base/files.h"

namespace brumil::datatest {

namespace {

// One folder per process and name: ctest runs the cases of this program as
// parallel processes, and one's clean-up must never remove another's folder.
std::filesystem::path TempFolder(const char* name) {
    auto p = std::filesystem::temp_directory_path() /
             (std::string(name) + "-" + std::to_string(::getpid()));
    std::filesystem::create_directories(p);
    return p;
}

// The fixture's set named by the environment variable, or else a set
// generated now into a temporary folder of this process.
std::filesystem::path FixtureOrGenerated(const char* variable, const char* temporaryName) {
    const char* env = std::getenv(variable);
    if (env && std::filesystem::is_directory(std::filesystem::path(env) / "data")) {
        return std::filesystem::path(env);
    }
    const auto folder = TempFolder(temporaryName);
    const auto result = datagen::GenerateDataSet(folder);
    EXPECT_TRUE(result.ok);
    return folder;
}

}  // namespace

const std::filesystem::path& GeneratedRoot() {
    static const std::filesystem::path root = FixtureOrGenerated("BRUMIL_DATA_ROOT", "brumil-data");
    return root;
}

const std::filesystem::path& GeneratedAgainRoot() {
    static const std::filesystem::path root =
        FixtureOrGenerated("BRUMIL_DATA_AGAIN_ROOT", "brumil-data-again");
    return root;
}

UseGeneratedRoot::UseGeneratedRoot() : previous_(platform::DataRoot()) {
    programFolder_ = TempFolder("brumil-program");
    platform::WriteFileAtomic((programFolder_ / "exepath.txt").string(),
                              GeneratedRoot().string() + "\r\n");
    platform::InitDataRoot(programFolder_);
}

UseGeneratedRoot::~UseGeneratedRoot() {
    platform::SetDataRoot(previous_);
    std::error_code ec;
    std::filesystem::remove_all(programFolder_, ec);
}

NullSoundDevice::NullSoundDevice() {
    framework::SoundStartOptions o;
    o.hz = 44100;
    o.channels = 2;
    o.nullOutput = true;
    started_ = framework::SoundStart(o);
}

NullSoundDevice::~NullSoundDevice() {
    framework::SoundStop();
}

int ReadU16(const std::string& hostPath, std::size_t offset) {
    const auto bytes = platform::ReadFileRange(hostPath, offset, 2);
    if (!bytes || bytes->size() < 2) return -1;
    return (*bytes)[0] | ((*bytes)[1] << 8);
}

}  // namespace brumil::datatest
