#include "app/save_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace brumil::app {
namespace {

// Files in memory; writes to a path in `failing` fail and leave the old text,
// files in `unreadable` are there but give nothing, plain files are judged by
// the reader's check, and renames to a path in `failing` are refused.
class FakeFiles final : public SaveTextFiles {
public:
    std::map<std::string, std::string, std::less<>> plain;
    std::map<std::string, std::string, std::less<>> encoded;
    std::map<std::string, std::string, std::less<>> unreadable;
    std::set<std::string, std::less<>> failing;
    std::vector<std::string> calls;

    std::string LoadText(std::string_view path, core::TextFileState& state,
                         core::PlainTextCheck check) override {
        calls.push_back("load " + std::string(path));
        state = core::TextFileState::kRead;
        if (auto it = plain.find(path); it != plain.end()) {
            if (it->second.empty() || !check || check(it->second)) return it->second;
            state = core::TextFileState::kUnreadable;
            return "";
        }
        if (auto it = encoded.find(path); it != encoded.end()) return it->second;
        state = unreadable.contains(path) ? core::TextFileState::kUnreadable
                                          : core::TextFileState::kMissing;
        return "";
    }
    Long SaveText(std::string_view path, std::string_view text) override {
        calls.push_back("save " + std::string(path));
        if (failing.contains(path)) return 1;
        Forget(path);
        plain[std::string(path)] = text;
        return 0;
    }
    Long SaveTextEncode(std::string_view path, std::string_view text) override {
        calls.push_back("encode " + std::string(path));
        if (failing.contains(path)) return 1;
        Forget(path);
        encoded[std::string(path)] = text;
        return 0;
    }
    void MakeDir(std::string_view path) override { calls.push_back("mkdir " + std::string(path)); }
    Long RenameFile(std::string_view from, std::string_view to) override {
        calls.push_back("rename " + std::string(from) + " " + std::string(to));
        if (failing.contains(to)) return 1;
        for (auto* files : {&plain, &encoded, &unreadable}) {
            if (auto it = files->find(from); it != files->end()) {
                const std::string bytes = it->second;
                Forget(to);
                Forget(from);
                (*files)[std::string(to)] = bytes;
                return 0;
            }
        }
        return 1;
    }

private:
    void Forget(std::string_view path) {
        for (auto* files : {&plain, &encoded, &unreadable}) files->erase(std::string(path));
    }
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

    RunSaveFiles saves(files, log.Log());
    const SaveFilesResult r = saves.SaveAll(config, progress);
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
    saves.Load(config2, progress2);
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
    RunSaveFiles(files).Load(config, progress);
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
        const SaveFilesResult r = RunSaveFiles(files, log.Log()).SaveAll(config, progress);
        EXPECT_EQ(r.ProgressSaved, c.progressSaved);
        EXPECT_EQ(r.SettingsSaved, c.settingsSaved);
        EXPECT_EQ(log.lines, c.logged);
        EXPECT_EQ(files.encoded.at("\\save\\system.sav"),
                  c.progressSaved ? battle::SystemSaveToText(progress) : "Permit 3\r\n");
        EXPECT_EQ(files.plain.at("\\save\\config.fig"),
                  c.settingsSaved ? ConfigToText(config) : "Volume=1\r\n");
    }
}

TEST(SaveFiles, AFileThatCouldNotBeReadIsKeptAsideBeforeTheFirstWriteOverIt) {
    const std::string progressPath = "\\save\\system.sav";
    const std::string configPath = "\\save\\config.fig";
    struct Case {
        const char* name;
        std::string unreadable;  // the file there at start that gave nothing
        bool copyRefused;        // its copy cannot be made
        bool progressSaved;
        bool settingsSaved;
        std::vector<std::string> logged;
    };
    const Case cases[] = {
        {"progress",
         progressPath,
         false,
         true,
         true,
         {"\\save\\system.sav could not be read at start; kept as \\save\\system.sav.damaged"}},
        {"settings",
         configPath,
         false,
         true,
         true,
         {"\\save\\config.fig could not be read at start; kept as \\save\\config.fig.damaged"}},
        {"progress, copy refused",
         progressPath,
         true,
         false,
         true,
         {"could not keep the unreadable \\save\\system.sav as \\save\\system.sav.damaged; "
          "it is not written over"}},
        {"settings, copy refused",
         configPath,
         true,
         true,
         false,
         {"could not keep the unreadable \\save\\config.fig as \\save\\config.fig.damaged; "
          "it is not written over"}},
    };
    for (const Case& c : cases) {
        FakeFiles files;
        const std::string copy = c.unreadable + ".damaged";
        files.unreadable[c.unreadable] = "old bytes";
        files.plain[copy] = "an older copy";
        if (c.copyRefused) files.failing.insert(copy);
        Captured log;
        RunSaveFiles saves(files, log.Log());
        ConfigRecord config;
        battle::SystemSaveRecord progress;
        saves.Load(config, progress);
        EXPECT_EQ(config, ConfigRecord{}) << c.name;
        EXPECT_EQ(progress, battle::SystemSaveRecord{}) << c.name;
        EXPECT_TRUE(log.lines.empty()) << c.name;

        const SaveFilesResult r = saves.SaveAll(config, progress);
        EXPECT_EQ(r.ProgressSaved, c.progressSaved) << c.name;
        EXPECT_EQ(r.SettingsSaved, c.settingsSaved) << c.name;
        EXPECT_EQ(log.lines, c.logged) << c.name;
        if (c.copyRefused) {
            EXPECT_EQ(files.unreadable.at(c.unreadable), "old bytes") << c.name;
            EXPECT_EQ(files.plain.at(copy), "an older copy") << c.name;
        } else {
            EXPECT_EQ(files.unreadable.at(copy), "old bytes") << c.name;
        }
        EXPECT_EQ(files.encoded.contains(progressPath), r.ProgressSaved) << c.name;
        EXPECT_EQ(files.plain.contains(configPath), r.SettingsSaved) << c.name;

        // The copy is made once: later writes go straight over the new file.
        log.lines.clear();
        files.calls.clear();
        const bool progressStuck = c.copyRefused && c.unreadable == progressPath;
        EXPECT_EQ(saves.SaveProgress(progress), !progressStuck) << c.name;
        const bool renamedAgain =
            std::find_if(files.calls.begin(), files.calls.end(), [](const std::string& call) {
                return call.starts_with("rename");
            }) != files.calls.end();
        EXPECT_EQ(renamedAgain, progressStuck) << c.name;
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
