// The save files through the helper object on a real data root.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/save_files.h"
#include "temp_root.h"

namespace brumil::app {
namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
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
    const SaveFilesResult r = SaveSaveFiles(ApiSaveTextFiles(), SampleConfig(), SampleProgress());
    EXPECT_TRUE(r.ProgressSaved);
    EXPECT_TRUE(r.SettingsSaved);

    // Settings as plain text, progress encoded (not readable as the plain text).
    EXPECT_EQ(ReadBytes(root.Path() / "save" / "config.fig"), ConfigToText(SampleConfig()));
    const std::string stored = ReadBytes(root.Path() / "save" / "system.sav");
    EXPECT_FALSE(stored.empty());
    EXPECT_EQ(stored.find("Permit"), std::string::npos);

    ConfigRecord config;
    battle::SystemSaveRecord progress;
    LoadSaveFiles(ApiSaveTextFiles(), config, progress);
    EXPECT_EQ(config, SampleConfig());
    EXPECT_EQ(progress, SampleProgress());
}

TEST(SaveFilesOnDisk, ReadsPlainTextAndLfOnlyFiles) {
    testing::TempDataRoot root;
    root.Write("save/system.sav", "Version old\nPermit 9\nScore 12,c,l,5000\n");
    root.Write("save/config.fig", "[Brumil8x コンフィグデータ]\nVolume=0\nScreenMode=0\n");
    ConfigRecord config;
    battle::SystemSaveRecord progress;
    LoadSaveFiles(ApiSaveTextFiles(), config, progress);
    EXPECT_EQ(progress.Version, "old");
    EXPECT_EQ(progress.Permit, 6);
    EXPECT_EQ(progress.Scores[12], (battle::ScoreRow{5000, "c", "l", ""}));
    EXPECT_EQ(config.Volume, 0);
    EXPECT_EQ(config.ScreenMode, 0);
}

TEST(SaveFilesOnDisk, DamagedProgressFileGivesTheResetRecord) {
    testing::TempDataRoot root;
    ASSERT_TRUE(SaveSaveFiles(ApiSaveTextFiles(), SampleConfig(), SampleProgress()).ProgressSaved);
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
        LoadSaveFiles(ApiSaveTextFiles(), config, progress);
        EXPECT_EQ(progress, battle::SystemSaveRecord{}) << d.name;
        EXPECT_EQ(config, SampleConfig()) << d.name;
    }
}

TEST(SaveFilesOnDisk, AFailedWriteKeepsTheOtherFileGoing) {
    testing::TempDataRoot root;
    // A folder standing where the progress file goes: that write cannot succeed.
    fs::create_directories(root.Path() / "save" / "system.sav");
    std::string logged;
    const SaveFilesResult r =
        SaveSaveFiles(ApiSaveTextFiles(), SampleConfig(), SampleProgress(),
                      [&logged](std::string_view m) { logged.append(m).append("\n"); });
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
