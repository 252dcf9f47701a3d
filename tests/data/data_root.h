#pragma once
// The generated data set the tests read: the fixture's folder named by
// BRUMIL_DATA_ROOT, or else a set generated once into a temporary folder. The
// data root is set to it through "exepath.txt", as the game finds it.

#include <filesystem>
#include <string>

namespace brumil::datatest {

// The data root holding data/ (generated on first use when needed).
const std::filesystem::path& GeneratedRoot();
// A second set generated independently of the first (the fixture's second
// folder, or else generated on first use), to compare with it.
const std::filesystem::path& GeneratedAgainRoot();

// Points the program's data root at the generated set through a program
// folder holding "exepath.txt", the way the game starts; restores it after.
class UseGeneratedRoot {
public:
    UseGeneratedRoot();
    ~UseGeneratedRoot();
    UseGeneratedRoot(const UseGeneratedRoot&) = delete;
    UseGeneratedRoot& operator=(const UseGeneratedRoot&) = delete;

private:
    std::filesystem::path previous_;
    std::filesystem::path programFolder_;
};

// The sound device started at 44100 Hz stereo without output, for the life of
// a test; stopped after.
class NullSoundDevice {
public:
    NullSoundDevice();
    ~NullSoundDevice();
    NullSoundDevice(const NullSoundDevice&) = delete;
    NullSoundDevice& operator=(const NullSoundDevice&) = delete;
    bool Started() const { return started_; }

private:
    bool started_ = false;
};

// Reads a little-endian 16-bit value of a file's bytes.
int ReadU16(const std::string& hostPath, std::size_t offset);

}  // namespace brumil::datatest
