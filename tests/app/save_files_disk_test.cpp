// The save files through the helper object on a real data root.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "app/save_files.h"
#include "core/api.h"
#include "core/pak_archive.h"
#include "core/save_text.h"
#include "temp_root.h"

namespace brumil::app {
namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string ToBytes(const std::vector<std::uint8_t>& bytes) {
    return {bytes.begin(), bytes.end()};
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

ConfigRecord SampleConfig() {
    ConfigRecord c;
    c.GraphicsAutomation = 10;
    c.Volume = 4;
    c.Pad0 = "4296,4299\r\n4300";
    SetNetworkUserName(c, "はるか=旅人");
    return c;
}

battle::SystemSaveRecord SampleProgress() {
    battle::SystemSaveRecord p;
    p.Permit = 5;
    p.WinVSMadnessAI = 6;
    p.Scores[0] = {100, "chara1", "Easy", ""};
    p.Scores[12] = {5000, "chara3", "Normal", ""};
    p.Scores[99] = {7, "chara8", "Apocalypse", ""};
    return p;
}

TEST(SaveFilesOnDisk, CreatesTheFolderAndRoundTrips) {
    testing::TempDataRoot root;
    ASSERT_FALSE(fs::exists(root.Path() / "save"));
    RunSaveFiles saves(ApiSaveTextFiles());
    const SaveFilesResult r = saves.SaveAll(SampleConfig(), SampleProgress());
    EXPECT_TRUE(r.ProgressSaved);
    EXPECT_TRUE(r.SettingsSaved);

    // Settings as plain text, progress encoded (not readable as the plain text).
    EXPECT_EQ(ReadBytes(root.Path() / "save" / "config.fig"), ConfigToText(SampleConfig()));
    const std::string stored = ReadBytes(root.Path() / "save" / "system.sav");
    EXPECT_FALSE(stored.empty());
    EXPECT_EQ(stored.find("Permit"), std::string::npos);

    ConfigRecord config;
    battle::SystemSaveRecord progress;
    saves.Load(config, progress);
    EXPECT_EQ(config, SampleConfig());
    EXPECT_EQ(progress, SampleProgress());
}

TEST(SaveFilesOnDisk, ReadsPlainTextAndLfOnlyFiles) {
    testing::TempDataRoot root;
    root.Write("save/system.sav", "Version old\nPermit 9\nScore 12,c,l,5000\n");
    root.Write("save/config.fig", "[Brumil8x コンフィグデータ]\nVolume=0\nScreenMode=0\n");
    ConfigRecord config;
    battle::SystemSaveRecord progress;
    RunSaveFiles(ApiSaveTextFiles()).Load(config, progress);
    EXPECT_EQ(progress.Version, "old");
    EXPECT_EQ(progress.Permit, 6);
    EXPECT_EQ(progress.Scores[12], (battle::ScoreRow{5000, "c", "l", ""}));
    EXPECT_EQ(config.Volume, 0);
    EXPECT_EQ(config.ScreenMode, 0);
}

TEST(SaveFilesOnDisk, DamagedProgressFileGivesTheResetRecord) {
    testing::TempDataRoot root;
    ASSERT_TRUE(
        RunSaveFiles(ApiSaveTextFiles()).SaveAll(SampleConfig(), SampleProgress()).ProgressSaved);
    const fs::path path = root.Path() / "save" / "system.sav";
    std::string bytes = ReadBytes(path);
    const std::string intact = bytes;
    struct Damage {
        const char* name;
        std::string bytes;
    };
    std::string flipped = intact;
    flipped[flipped.size() / 2 + 8] ^= 0x20;
    const Damage cases[] = {
        {"flipped byte", flipped},
        {"truncated", intact.substr(0, intact.size() - 3)},
        {"header only", intact.substr(0, 16)},
        {"trailing bytes", intact + "xx"},
    };
    for (const Damage& d : cases) {
        WriteBytes(path, d.bytes);
        battle::SystemSaveRecord progress;
        progress.Permit = 2;
        ConfigRecord config;
        RunSaveFiles(ApiSaveTextFiles()).Load(config, progress);
        EXPECT_EQ(progress, battle::SystemSaveRecord{}) << d.name;
        EXPECT_EQ(config, SampleConfig()) << d.name;
    }
}

// One run's save files, both loaded, with the lines of its log.
struct LoadedRun {
    std::vector<std::string> logged;
    RunSaveFiles saves{ApiSaveTextFiles(), [this](std::string_view m) { logged.emplace_back(m); }};
    ConfigRecord config;
    battle::SystemSaveRecord progress;
    LoadedRun() { saves.Load(config, progress); }
};

// Loads both files, saves the records as loaded and answers the log.
std::vector<std::string> LoadThenSave() {
    LoadedRun run;
    const SaveFilesResult r = run.saves.SaveAll(run.config, run.progress);
    EXPECT_TRUE(r.ProgressSaved);
    EXPECT_TRUE(r.SettingsSaved);
    return run.logged;
}

std::string KeptLine(std::string_view file) {
    return "\\save\\" + std::string(file) + " could not be read at start; kept as \\save\\" +
           std::string(file) + ".damaged";
}

// The defaults a file that could not be read is replaced with.
std::string DefaultText(std::string_view file) {
    return file == "system.sav" ? battle::SystemSaveToText(battle::SystemSaveRecord{})
                                : ConfigToText(ConfigRecord{});
}

TEST(SaveFilesOnDisk, ADamagedFileIsKeptBesideItselfAndReplacedWithTheDefaults) {
    struct Case {
        const char* name;
        const char* file;
        std::string bytes;
    };
    std::string progress =
        ToBytes(core::EncodeSaveText(battle::SystemSaveToText(SampleProgress())));
    std::string settings = ToBytes(core::EncodeSaveText(ConfigToText(SampleConfig())));
    std::string flippedProgress = progress;
    flippedProgress[progress.size() / 2 + 8] ^= 0x01;
    std::string flippedSettings = settings;
    flippedSettings[settings.size() - 1] ^= 0x40;
    std::string flippedMark = progress;
    flippedMark[0] ^= 0x01;
    std::string flippedMarkEnd = progress;
    flippedMarkEnd[7] ^= 0x01;
    std::mt19937 random(42);
    std::string binary(300, '\0');
    for (char& c : binary) c = static_cast<char>(random());
    const Case cases[] = {
        {"progress, one bit flipped", "system.sav", flippedProgress},
        {"progress, cut", "system.sav", progress.substr(0, progress.size() - 40)},
        {"progress, encoding mark flipped in its first byte", "system.sav", flippedMark},
        {"progress, encoding mark flipped in its last byte", "system.sav", flippedMarkEnd},
        {"progress, random bytes", "system.sav", binary},
        {"settings in the encoded form, one bit flipped", "config.fig", flippedSettings},
        {"settings with control bytes", "config.fig", "Volume=4\r\n\x1b\x02Pad0=1\r\n"},
        {"settings with a NUL", "config.fig", std::string("Volume=4\r\n\0\r\n", 13)},
    };
    for (const Case& c : cases) {
        testing::TempDataRoot root;
        const fs::path path = root.Path() / "save" / c.file;
        const fs::path copy = root.Path() / "save" / (std::string(c.file) + ".damaged");
        root.Write("save/" + std::string(c.file), c.bytes);
        root.Write("save/" + std::string(c.file) + ".damaged", "an older copy");
        EXPECT_EQ(LoadThenSave(), std::vector<std::string>{KeptLine(c.file)}) << c.name;
        EXPECT_EQ(ReadBytes(copy), c.bytes) << c.name;
        EXPECT_EQ(core::gApi().LoadText(path.string()), DefaultText(c.file)) << c.name;
        // A second run reads the new file: nothing more is kept aside.
        EXPECT_TRUE(LoadThenSave().empty()) << c.name;
        EXPECT_EQ(ReadBytes(copy), c.bytes) << c.name;
    }
}

std::vector<std::uint8_t> FromBytes(std::string_view bytes) {
    return {bytes.begin(), bytes.end()};
}

TEST(SaveFilesOnDisk, AnUnreadablePackedFileIsWrittenBesideTheUntouchedArchive) {
    struct Case {
        const char* name;
        const char* file;  // the unreadable entry of save.pak
        std::string bytes;
    };
    std::string progress =
        ToBytes(core::EncodeSaveText(battle::SystemSaveToText(SampleProgress())));
    progress[progress.size() / 2 + 8] ^= 0x01;
    const Case cases[] = {
        {"progress, one bit flipped", "system.sav", progress},
        {"settings with control bytes", "config.fig", "Volume=4\r\n\x01\r\n"},
    };
    for (const Case& c : cases) {
        testing::TempDataRoot root;
        const bool progressDamaged = c.file == std::string_view("system.sav");
        const std::vector<core::PakInput> entries = {
            {"system.sav", progressDamaged
                               ? FromBytes(c.bytes)
                               : core::EncodeSaveText(battle::SystemSaveToText(SampleProgress()))},
            {"config.fig",
             progressDamaged ? FromBytes(ConfigToText(SampleConfig())) : FromBytes(c.bytes)},
        };
        const auto pak = core::BuildPak(entries);
        ASSERT_TRUE(pak.has_value()) << c.name;
        root.Write("save.pak", ToBytes(*pak));

        LoadedRun run;
        // A recorded match, then the end of the run.
        run.progress.Permit = 3;
        run.config.Volume = 1;
        EXPECT_TRUE(run.saves.SaveProgress(run.progress)) << c.name;
        const SaveFilesResult r = run.saves.SaveAll(run.config, run.progress);
        EXPECT_TRUE(r.ProgressSaved) << c.name;
        EXPECT_TRUE(r.SettingsSaved) << c.name;
        EXPECT_EQ(run.logged,
                  std::vector<std::string>{"the packed copy of \\save\\" + std::string(c.file) +
                                           " could not be read at start; the archive is "
                                           "left as it is and a plain file is written "
                                           "beside it"})
            << c.name;
        EXPECT_EQ(ReadBytes(root.Path() / "save.pak"), ToBytes(*pak)) << c.name;
        EXPECT_FALSE(fs::exists(root.Path() / "save" / (std::string(c.file) + ".damaged")))
            << c.name;

        // The plain files stand before the archive from now on.
        EXPECT_TRUE(fs::exists(root.Path() / "save" / c.file)) << c.name;
        const LoadedRun next;
        EXPECT_EQ(next.progress, run.progress) << c.name;
        EXPECT_EQ(next.config, run.config) << c.name;
        EXPECT_TRUE(next.logged.empty()) << c.name;
    }
}

TEST(SaveFilesOnDisk, AFileTheUserCannotReadIsKeptBesideItselfAndReplacedWithTheDefaults) {
    for (const char* file : {"system.sav", "config.fig"}) {
        testing::TempDataRoot root;
        const fs::path path = root.Path() / "save" / file;
        const fs::path copy = root.Path() / "save" / (std::string(file) + ".damaged");
        const std::string bytes = file == std::string_view("system.sav")
                                      ? ToBytes(core::EncodeSaveText("Permit 6\r\n"))
                                      : std::string("Volume=5\r\n");
        root.Write("save/" + std::string(file), bytes);
        fs::permissions(path, fs::perms::none);
        if (std::ifstream(path).is_open()) {
            fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
            GTEST_SKIP() << "this user reads files of mode 000 (root): run as another user";
        }
        EXPECT_EQ(LoadThenSave(), std::vector<std::string>{KeptLine(file)}) << file;
        fs::permissions(copy, fs::perms::owner_read);
        EXPECT_EQ(ReadBytes(copy), bytes) << file;
        EXPECT_EQ(core::gApi().LoadText(path.string()), DefaultText(file)) << file;
    }
}

TEST(SaveFilesOnDisk, AFailedWriteKeepsTheOtherFileGoing) {
    testing::TempDataRoot root;
    // A folder standing where the progress file goes: that write cannot succeed.
    fs::create_directories(root.Path() / "save" / "system.sav");
    std::string logged;
    const SaveFilesResult r = RunSaveFiles(ApiSaveTextFiles(), [&logged](std::string_view m) {
                                  logged.append(m).append("\n");
                              }).SaveAll(SampleConfig(), SampleProgress());
    EXPECT_FALSE(r.ProgressSaved);
    EXPECT_TRUE(r.SettingsSaved);
    EXPECT_EQ(logged, "could not write \\save\\system.sav; the previous file is kept\n");
    EXPECT_TRUE(fs::is_directory(root.Path() / "save" / "system.sav"));
    EXPECT_EQ(ReadBytes(root.Path() / "save" / "config.fig"), ConfigToText(SampleConfig()));
}

TEST(SaveFilesOnDisk, RunReportIsRewrittenAtTheDataRoot) {
    testing::TempDataRoot root;
    root.Write("Log.txt", "an older, longer report that must not leave a tail behind");
    RunFacts facts;
    facts.TextureLimit = 1;
    EXPECT_TRUE(WriteRunReport(ApiSaveTextFiles(), facts));
    EXPECT_EQ(ReadBytes(root.Path() / "Log.txt"), RunReportText(facts));
}

}  // namespace
}  // namespace brumil::app
