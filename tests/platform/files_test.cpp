#include "platform/base/files.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <fstream>

#include "temp_root.h"

namespace brumil::platform {
namespace {

TEST(Files, DataRootRelativePathsResolveCaseInsensitively) {
    testing::TempDataRoot root;
    root.Write("Data/Sound/Zio1x05.WAV", "abc");
    struct Case {
        const char* path;
        bool found;
    };
    const Case cases[] = {
        {"\\data\\sound\\zio1x05.wav", true},  {"\\DATA\\SOUND\\ZIO1X05.WAV", true},
        {"\\Data/Sound/Zio1x05.WAV", true},    {"\\data\\sound\\zio1x06.wav", false},
        {"\\data\\music\\zio1x05.wav", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileExists(c.path), c.found) << c.path;
        auto bytes = ReadFile(c.path);
        EXPECT_EQ(bytes.has_value(), c.found) << c.path;
    }
    EXPECT_EQ(ReadFile("\\data\\sound\\zio1x05.wav")->size(), 3u);
}

TEST(Files, CaseInsensitiveChoiceIsStable) {
    testing::TempDataRoot root;
    root.Write("b/X.txt", "upper");
    root.Write("b/x.TXT", "mixed");
    // Neither spelling matches exactly: the first in sorted order wins.
    auto bytes = ReadFile("\\b\\x.txt");
    ASSERT_TRUE(bytes);
    EXPECT_EQ(std::string(bytes->begin(), bytes->end()), "upper");
}

TEST(Files, AtomicWriteReplacesAndKeepsOldFileOnFailure) {
    testing::TempDataRoot root;
    ASSERT_TRUE(MakeDir("\\save"));
    ASSERT_TRUE(WriteFileAtomic("\\save\\config.fig", std::string_view("one")));
    ASSERT_TRUE(WriteFileAtomic("\\save\\config.fig", std::string_view("two")));
    auto bytes = ReadFile("\\save\\config.fig");
    ASSERT_TRUE(bytes);
    EXPECT_EQ(std::string(bytes->begin(), bytes->end()), "two");
    // A write into a missing folder fails and leaves nothing behind.
    EXPECT_FALSE(WriteFileAtomic("\\nofolder\\x.txt", std::string_view("z")));
    // No temporary files remain beside the target.
    EXPECT_EQ(ListFolder("\\save", false), std::vector<std::string>{"config.fig"});
}

// The temporary file is private while it is written; what lands under the
// target's name must still be readable like any file the program writes.
TEST(Files, AtomicWriteKeepsTheReplacedFilesMode) {
    testing::TempDataRoot root;
    ASSERT_TRUE(MakeDir("\\save"));
    auto mode = [&root](const char* name) {
        struct stat st {};
        EXPECT_EQ(::stat((root.Path() / "save" / name).c_str(), &st), 0) << name;
        return st.st_mode & 07777;
    };
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(WriteFileAtomic("\\save\\new.fig", std::string_view("new")));
    ::umask(mask);
    EXPECT_EQ(mode("new.fig"), 0644u);

    root.Write("save/kept.sav", "old");
    ASSERT_EQ(::chmod((root.Path() / "save" / "kept.sav").c_str(), 0640), 0);
    ASSERT_TRUE(WriteFileAtomic("\\save\\kept.sav", std::string_view("replaced")));
    EXPECT_EQ(mode("kept.sav"), 0640u);
}

TEST(Files, AtomicWriteFailureKeepsPreviousContent) {
    testing::TempDataRoot root;
    ASSERT_TRUE(MakeDir("\\save"));
    ASSERT_TRUE(WriteFileAtomic("\\save\\system.sav", std::string_view("progress")));
    // A file-size limit makes the write of the temporary file fail part-way,
    // whoever runs the test (root included).
    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    auto* previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 4;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool wrote =
        WriteFileAtomic("\\save\\system.sav", std::string_view("a much longer text"));
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_FALSE(wrote);
    auto bytes = ReadFile("\\save\\system.sav");
    ASSERT_TRUE(bytes);
    EXPECT_EQ(std::string(bytes->begin(), bytes->end()), "progress");
    EXPECT_EQ(ListFolder("\\save", false), std::vector<std::string>{"system.sav"});
}

// What a write killed half-way leaves is removed; any other name is kept.
TEST(Files, LeftoversOfAnInterruptedWriteAreRemovedAndNothingElse) {
    testing::TempDataRoot root;
    struct Case {
        const char* name;  // below the data root
        bool removed;
    };
    const Case cases[] = {
        {"save/.config.fig.a1B2c3", true},
        {"save/.config.fig.ZZZZZZ", true},
        {"save/.config.fig.000000", true},
        {"save/.config.fig.abc12", false},    // five characters
        {"save/.config.fig.abc1234", false},  // seven
        {"save/.config.fig.ab_123", false},   // not a letter or digit
        {"save/.config.fig.ab.123", false},
        {"save/config.fig.abc123", false},  // no leading dot
        {"save/.config.fig", false},
        {"save/.config.figXabc123", false},
        {"save/.system.sav.abc123", false},  // another file's
        {"save/..config.fig.abc123", false},
        {"save/.CONFIG.FIG.abc123", false},  // the writer uses the name as it is
        {"save/config.fig", false},
        {".config.fig.abc123", false},  // another folder
    };
    for (const Case& c : cases) root.Write(c.name, "x");
    // A folder of the leftover's form is not a file the writer made.
    std::filesystem::create_directory(root.Path() / "save" / ".config.fig.dir123");
    EXPECT_EQ(RemoveAtomicWriteLeftovers("\\save\\config.fig"), 3);
    for (const Case& c : cases) {
        EXPECT_EQ(!std::filesystem::exists(root.Path() / c.name), c.removed) << c.name;
    }
    EXPECT_TRUE(std::filesystem::is_directory(root.Path() / "save" / ".config.fig.dir123"));
    // Nothing left to remove; a missing folder is no error.
    EXPECT_EQ(RemoveAtomicWriteLeftovers("\\save\\config.fig"), 0);
    EXPECT_EQ(RemoveAtomicWriteLeftovers("\\missing\\config.fig"), 0);
}

// A copy killed inside a write (here by the file-size signal, whose default
// ends the process) leaves the writer's own temporary file: the clean-up
// knows its name, and the old file is whole.
TEST(FilesDeathTest, TheLeftoverOfAKilledWriteIsRecognised) {
    testing::TempDataRoot root;
    ASSERT_TRUE(MakeDir("\\save"));
    ASSERT_TRUE(WriteFileAtomic("\\save\\system.sav", std::string_view("progress")));
    EXPECT_EXIT(
        {
            struct rlimit small {};
            ::getrlimit(RLIMIT_FSIZE, &small);
            small.rlim_cur = 4;
            ::setrlimit(RLIMIT_FSIZE, &small);
            struct rlimit noCore {};
            ::setrlimit(RLIMIT_CORE, &noCore);
            std::signal(SIGXFSZ, SIG_DFL);
            WriteFileAtomic("\\save\\system.sav", std::string_view("a much longer text"));
            std::_Exit(0);  // not reached: the write ends the process
        },
        ::testing::KilledBySignal(SIGXFSZ), "");
    const auto names = ListFolder("\\save", false);
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[0].rfind(".system.sav.", 0), 0u) << names[0];
    EXPECT_EQ(RemoveAtomicWriteLeftovers("\\save\\system.sav"), 1);
    EXPECT_EQ(ListFolder("\\save", false), std::vector<std::string>{"system.sav"});
    const auto bytes = ReadFile("\\save\\system.sav");
    ASSERT_TRUE(bytes);
    EXPECT_EQ(std::string(bytes->begin(), bytes->end()), "progress");
}

TEST(Files, ListFolderSortsNames) {
    testing::TempDataRoot root;
    root.Write("data/b/x", "");
    root.Write("data/A/x", "");
    root.Write("data/c.txt", "");
    EXPECT_EQ(ListFolder("\\data", true), (std::vector<std::string>{"A", "b"}));
    EXPECT_EQ(ListFolder("\\data", false), (std::vector<std::string>{"c.txt"}));
}

TEST(Files, ReadRangeStopsAtEnd) {
    testing::TempDataRoot root;
    root.Write("f.bin", "0123456789");
    auto mid = ReadFileRange("\\f.bin", 4, 3);
    ASSERT_TRUE(mid);
    EXPECT_EQ(std::string(mid->begin(), mid->end()), "456");
    EXPECT_EQ(ReadFileRange("\\f.bin", 8, 10)->size(), 2u);
    EXPECT_EQ(ReadFileRange("\\f.bin", 50, 10)->size(), 0u);
}

TEST(Files, ExepathTextNamesTheDataRoot) {
    testing::TempDataRoot root;
    const auto prog = root.Path() / "prog";
    const auto data = root.Path() / "gamedata";
    std::filesystem::create_directories(prog);
    std::filesystem::create_directories(data);

    InitDataRoot(prog);  // no exepath.txt: the program folder
    EXPECT_EQ(DataRootText(), prog.string() + "/");

    std::ofstream(prog / "exepath.txt") << data.string() << "\r\n";
    InitDataRoot(prog);
    EXPECT_EQ(DataRootText(), data.string() + "/");

    std::ofstream(prog / "exepath.txt") << "../gamedata\n";  // relative to the program
    InitDataRoot(prog);
    EXPECT_EQ(DataRoot(), std::filesystem::weakly_canonical(data));

    std::ofstream(prog / "exepath.txt") << "missing-folder\n";
    InitDataRoot(prog);
    EXPECT_EQ(DataRootText(), prog.string() + "/");
}

}  // namespace
}  // namespace brumil::platform
