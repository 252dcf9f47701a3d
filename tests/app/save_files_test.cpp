#include "app/save_files.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace brumil::app {
namespace {

// Files in memory; writes to a path in `failing` fail and leave the old text.
class FakeFiles final : public SaveTextFiles {
public:
    std::map<std::string, std::string, std::less<>> plain;
    std::map<std::string, std::string, std::less<>> encoded;
    std::set<std::string, std::less<>> failing;
    std::vector<std::string> calls;

    std::string LoadText(std::string_view path) override {
        calls.push_back("load " + std::string(path));
        if (auto it = plain.find(path); it != plain.end()) return it->second;
        if (auto it = encoded.find(path); it != encoded.end()) return it->second;
        return "";
    }
    Long SaveText(std::string_view path, std::string_view text) override {
        calls.push_back("save " + std::string(path));
        if (failing.contains(path)) return 1;
        encoded.erase(std::string(path));
        plain[std::string(path)] = text;
        return 0;
    }
    Long SaveTextEncode(std::string_view path, std::string_view text) override {
        calls.push_back("encode " + std::string(path));
        if (failing.contains(path)) return 1;
        plain.erase(std::string(path));
        encoded[std::string(path)] = text;
        return 0;
    }
    void MakeDir(std::string_view path) override { calls.push_back("mkdir " + std::string(path)); }
};

struct Captured {
    std::vector<std::string> lines;
    FailureLog Log() {
        return [this](std::string_view m) { lines.emplace_back(m); };
    }
};

TEST(SaveFiles, SaveThenLoadGivesTheRecordsBack) {
    FakeFiles files;
    ConfigRecord config;
    config.Volume = 4;
    config.PadX = "1,2\r\n3";
    SetNetworkUserName(config, "たろう");
    battle::SystemSaveRecord progress;
    progress.Permit = 5;
    progress.Scores[31] = {4200, "chara2", "Hard", ""};
    Captured log;

    const SaveFilesResult r = SaveSaveFiles(files, config, progress, log.Log());
    EXPECT_TRUE(r.ProgressSaved);
    EXPECT_TRUE(r.SettingsSaved);
    EXPECT_TRUE(log.lines.empty());
    EXPECT_EQ(files.calls, (std::vector<std::string>{"mkdir \\save", "encode \\save\\system.sav",
                                                     "save \\save\\config.fig"}));
    EXPECT_EQ(files.encoded.at("\\save\\system.sav"), battle::SystemSaveToText(progress));
    EXPECT_EQ(files.plain.at("\\save\\config.fig"), ConfigToText(config));

    ConfigRecord config2;
    battle::SystemSaveRecord progress2;
    files.calls.clear();
    LoadSaveFiles(files, config2, progress2);
    EXPECT_EQ(files.calls,
              (std::vector<std::string>{"load \\save\\system.sav", "load \\save\\config.fig"}));
    EXPECT_EQ(config2, config);
    EXPECT_EQ(progress2, progress);
}

TEST(SaveFiles, MissingFilesGiveDefaults) {
    FakeFiles files;
    ConfigRecord config;
    config.ScreenMode = 0;
    battle::SystemSaveRecord progress;
    progress.Permit = 6;
    LoadSaveFiles(files, config, progress);
    EXPECT_EQ(config, ConfigRecord{});
    EXPECT_EQ(progress, battle::SystemSaveRecord{});
}

TEST(SaveFiles, EachWriteIsIndependentAndFailuresAreReported) {
    struct Case {
        std::vector<std::string> failing;
        bool progressSaved;
        bool settingsSaved;
        std::vector<std::string> logged;
    };
    const Case cases[] = {
        {{"\\save\\system.sav"},
         false,
         true,
         {"could not write \\save\\system.sav; the previous file is kept"}},
        {{"\\save\\config.fig"},
         true,
         false,
         {"could not write \\save\\config.fig; the previous file is kept"}},
        {{"\\save\\system.sav", "\\save\\config.fig"},
         false,
         false,
         {"could not write \\save\\system.sav; the previous file is kept",
          "could not write \\save\\config.fig; the previous file is kept"}},
    };
    for (const Case& c : cases) {
        FakeFiles files;
        files.encoded["\\save\\system.sav"] = "Permit 3\r\n";
        files.plain["\\save\\config.fig"] = "Volume=1\r\n";
        for (const auto& f : c.failing) files.failing.insert(f);
        ConfigRecord config;
        battle::SystemSaveRecord progress;
        Captured log;
        const SaveFilesResult r = SaveSaveFiles(files, config, progress, log.Log());
        EXPECT_EQ(r.ProgressSaved, c.progressSaved);
        EXPECT_EQ(r.SettingsSaved, c.settingsSaved);
        EXPECT_EQ(log.lines, c.logged);
        EXPECT_EQ(files.encoded.at("\\save\\system.sav"),
                  c.progressSaved ? battle::SystemSaveToText(progress) : "Permit 3\r\n");
        EXPECT_EQ(files.plain.at("\\save\\config.fig"),
                  c.settingsSaved ? ConfigToText(config) : "Volume=1\r\n");
    }
}

TEST(SaveFiles, RunReportIsWrittenAsPlainText) {
    FakeFiles files;
    RunFacts facts;
    facts.PixelBits = 32;
    Captured log;
    EXPECT_TRUE(WriteRunReport(files, facts, log.Log()));
    EXPECT_EQ(files.plain.at("\\Log.txt"), RunReportText(facts));
    EXPECT_TRUE(log.lines.empty());

    files.failing.insert("\\Log.txt");
    EXPECT_FALSE(WriteRunReport(files, facts, log.Log()));
    EXPECT_EQ(log.lines,
              (std::vector<std::string>{"could not write \\Log.txt; the previous file is kept"}));
}

}  // namespace
}  // namespace brumil::app
