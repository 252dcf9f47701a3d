// A whole start of the program, from its entry to the end of the run, in a
// child process (the entry sets up and releases the program-wide objects).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/the_app.h"
#include "core/pak_archive.h"
#include "frontend/application_config.h"
#include "platform/base/files.h"
#include "platform/base/headless_window.h"
#include "temp_root.h"

namespace brumil::app {
namespace {

// Runs the program on a headless window whose first screen closes it after
// one step; answers the entry's result. Start-up boxes go to `boxes` as
// "title|text", failure lines to `logged`, each line ending with a line end.
int RunOnce(std::string* boxes = nullptr, std::string* logged = nullptr) {
    platform::ManualClock clock;
    AppServices services;
    services.clock = &clock;
    services.log = [logged](std::string_view line) {
        if (logged) *logged += std::string(line) + "\n";
    };
    services.startupBox = [boxes](std::string_view text, std::string_view title) {
        if (boxes) *boxes += std::string(title) + "|" + std::string(text) + "\n";
    };
    services.connect = [](framework::CMaxwell& host) {
        auto window = std::make_unique<platform::HeadlessWindow>();
        platform::HeadlessWindow* w = window.get();
        const bool ok = host.Connect(std::move(window), nullptr);
        frontend::gAppConfig()->SetJobProcedure(
            1, [w](frontend::ApplicationConfig&, Long, Long message, Long) {
                if (message == 0) w->InjectClose();
            });
        return ok;
    };
    return Main(services);
}

TEST(ProgramStartDeathTest, AStartRemovesWhatKilledSavesLeftAndNothingElse) {
    testing::TempDataRoot root;
    struct Case {
        const char* name;  // below the data root
        bool removed;
    };
    const Case cases[] = {
        {"save/.config.fig.Q7x2Lm", true},
        {"save/.system.sav.0aZ9yy", true},
        {".Log.txt.abcdef", true},
        {"save/.config.fig.keep", false},
        {"save/.config.fig.Q7x2Lm.bak", false},
        {"save/notes.txt", false},
        {"save/.notes.txt.abcdef", false},   // no file of the program's
        {"data/.config.fig.Q7x2Lm", false},  // no folder the program writes
    };
    for (const Case& c : cases) root.Write(c.name, "left");
    EXPECT_EXIT(std::_Exit(RunOnce()), ::testing::ExitedWithCode(0), "");
    for (const Case& c : cases) {
        EXPECT_EQ(!std::filesystem::exists(root.Path() / c.name), c.removed) << c.name;
    }
    // The run itself saved as usual.
    EXPECT_TRUE(std::filesystem::exists(root.Path() / "save" / "config.fig"));
    EXPECT_TRUE(std::filesystem::exists(root.Path() / "save" / "system.sav"));
}

std::string PakOf(const char* name, std::string_view bytes) {
    const core::PakInput files[] = {{name, std::vector<std::uint8_t>(bytes.begin(), bytes.end())}};
    const auto pak = core::BuildPak(files);
    return pak ? std::string(pak->begin(), pak->end()) : std::string();
}

TEST(ProgramStartDeathTest, ADataRootWithoutDataOrItsArchiveRefusesToStart) {
    struct Case {
        const char* name;
        const char* file;  // below the data root
        std::string bytes;
        bool starts;
    };
    const Case cases[] = {
        {"nothing", "save/config.fig", "", false},
        {"a file called data", "data", "x", false},
        {"another archive", "sound.pak", PakOf("a.wav", "x"), false},
        {"the folder", "data/bgm/readme.txt", "x", true},
        {"the folder in capitals", "DATA/readme.txt", "x", true},
        {"the archive only", "data.pak", PakOf("readme.txt", "x"), true},
        {"the archive in capitals", "Data.PAK", PakOf("readme.txt", "x"), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::TempDataRoot root;
        root.Write(c.file, c.bytes);
        // The child leaves what it recorded in a file beside the data root.
        const std::filesystem::path record = root.Path().string() + ".boxes";
        const auto run = [&] {
            std::string boxes;
            std::string logged;
            const int code = RunOnce(&boxes, &logged);
            platform::WriteFileAtomic(record.string(), boxes + "--\n" + logged);
            std::_Exit(code);
        };
        EXPECT_EXIT(run(), ::testing::ExitedWithCode(c.starts ? 0 : 1), "");
        const auto bytes = platform::ReadFile(record.string());
        std::filesystem::remove(record);
        ASSERT_TRUE(bytes);
        const std::string folder = "データフォルダー " + root.Path().string() +
                                   " に data フォルダーも data.pak もありません。";
        const std::string hint =
            "プログラムと同じフォルダーの exepath.txt で、データのあるフォルダーを指定できます。";
        const std::string expected = c.starts ? "--\n"
                                              : "Brumil - 起動できません|" + folder + "\n" + hint +
                                                    "\n--\n" + folder + hint + "\n";
        EXPECT_EQ(std::string(bytes->begin(), bytes->end()), expected);
        // A refused start made nothing in the data root.
        EXPECT_EQ(std::filesystem::exists(root.Path() / "save" / "system.sav"), c.starts);
    }
}

}  // namespace
}  // namespace brumil::app
