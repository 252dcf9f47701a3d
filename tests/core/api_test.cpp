#include "core/api.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/base/single_instance.h"
#include "temp_root.h"

namespace brumil::core {
namespace {

TEST(CApi, FileOpenWriteHonoursDeleteOldFile) {
    testing::TempDataRoot root;
    root.Write("out/old.bin", "old contents");
    CApi api;
    struct Case {
        const char* path;
        bool deleteOld;
        Long expected;
    };
    const Case cases[] = {
        {"\\out\\old.bin", false, 1},  // exists, not replaced
        {"\\out\\new.bin", false, 0},
        {"\\out\\old.bin", true, 0},
        {"\\nofolder\\x.bin", true, 1},
    };
    for (const auto& c : cases) {
        const Long number = api.FreeFile();
        EXPECT_EQ(api.FileOpenWrite(c.path, number, c.deleteOld), c.expected) << c.path;
        if (c.expected == 0) {
            const std::string bytes = "written";
            EXPECT_EQ(api.WriteBytes(number, 1,
                                     std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                               bytes.size())),
                      0);
            api.FileClose(number);
            EXPECT_EQ(api.LoadText(c.path), "written");
        }
    }
    EXPECT_EQ(api.LoadText("\\out\\old.bin"), "written");
    // A number in use is refused.
    const Long n = api.FreeFile();
    ASSERT_EQ(api.FileOpenWrite("\\out\\a.bin", n, true), 0);
    EXPECT_EQ(api.FileOpenWrite("\\out\\b.bin", n, true), 1);
    EXPECT_EQ(api.FileOpenWrite("\\out\\b.bin", 0, true), 1);
    EXPECT_EQ(api.FileOpenWrite("\\out\\b.bin", 100000, true), 1);
}

TEST(CApi, PathHelpers) {
    CApi api;
    struct Case {
        const char* path;
        const char* folder;
        const char* name;
        const char* ext;
    };
    const Case cases[] = {
        {"\\data\\sound\\zio1x01.wav", "\\data\\sound", "zio1x01", "wav"},
        {"a/b.c/file", "a/b.c", "file", ""},
        {"file.tar.gz", "", "file.tar", "gz"},
        {"\\data\\", "\\data", "", ""},
        {"", "", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(api.GetFilePath(c.path), c.folder) << c.path;
        EXPECT_EQ(api.GetFileName(c.path), c.name) << c.path;
        EXPECT_EQ(api.GetFileExt(c.path), c.ext) << c.path;
    }
    testing::TempDataRoot root;
    const std::string rootText = root.Path().string() + "/";
    std::string p = "\\data\\x.txt";
    api.ExepathAddition(p);
    EXPECT_EQ(p, rootText + "data\\x.txt");
    std::string host = "/etc/x";
    api.ExepathAddition(host);
    EXPECT_EQ(host, "/etc/x");
    EXPECT_EQ(api.GetAbolutePath("\\data\\..\\save\\"), rootText + "save/");
    EXPECT_EQ(api.GetAbolutePath("/a/./b/../c"), "/a/c");
}

TEST(CApi, FoldersAndFiles) {
    testing::TempDataRoot root;
    root.Write("data/chara_b/x.txt", "");
    root.Write("data/Chara_a/y.txt", "");
    root.Write("data/image_c/z.txt", "");
    root.Write("data/file.txt", "");
    CApi api;
    EXPECT_EQ(api.GetFolders("\\data", 0, 0, true),
              (std::vector<std::string>{"Chara_a", "chara_b", "image_c"}));
    EXPECT_EQ(api.GetFolders("\\data", 1, 1, true), (std::vector<std::string>{"chara_b"}));
    const auto full = api.GetFolders("\\data", 2, 0, false);
    ASSERT_EQ(full.size(), 1u);
    EXPECT_EQ(full[0], root.Path().string() + "/data/image_c");
    EXPECT_TRUE(api.GetFolders("\\missing").empty());
    EXPECT_TRUE(api.DirFile("\\data\\FILE.TXT"));
    EXPECT_FALSE(api.DirFile("\\data\\chara_b"));
    api.MakeDir("\\save");
    api.MakeDir("\\save");
    EXPECT_TRUE(std::filesystem::is_directory(root.Path() / "save"));
}

TEST(CApi, CodecMembersReplaceTheBuffer) {
    CApi api;
    const std::vector<std::uint8_t> plain = {1, 2, 3, 3, 3, 3, 3, 3, 3, 9};
    for (Long program : {0, 1, 2, 3, 4}) {
        std::vector<std::uint8_t> buf = plain;
        ASSERT_EQ(api.Encoder(buf, program), 0) << program;
        EXPECT_EQ(buf[4], program);
        std::vector<std::uint8_t> out;
        EXPECT_EQ(api.DecoderByProg(out, buf), 0);
        EXPECT_EQ(out, plain);
        EXPECT_EQ(api.Decoder(buf), 0);
        EXPECT_EQ(buf, plain);
    }
    std::vector<std::uint8_t> buf = plain;
    EXPECT_EQ(api.Encoder(buf, 99), 1);
    EXPECT_EQ(api.Encoder(buf, -1), 1);
    EXPECT_EQ(buf, plain);
    EXPECT_EQ(api.Decoder(buf), 1);  // not a block
    EXPECT_EQ(buf, plain);
}

TEST(CApi, RandomGeneratorsAreSeedableAndBounded) {
    CApi a, b;
    a.Randomize(7);
    b.Randomize(7);
    for (int i = 0; i < 500; ++i) {
        const Long r = a.Rnd(-2, 2);
        EXPECT_EQ(r, b.Rnd(-2, 2));
        EXPECT_GE(r, -2);
        EXPECT_LE(r, 2);
        const Long d = a.RndDLL(3);
        EXPECT_EQ(d, b.RndDLL(3));
        EXPECT_GE(d, 0);
        EXPECT_LT(d, 3);
        EXPECT_EQ(a.Math_Rnd(10, 20), b.Math_Rnd(10, 20));
    }
    EXPECT_EQ(a.RndDLL(1), 0);
    EXPECT_EQ(a.RndDLL(0), 0);
    EXPECT_EQ(a.Rnd(5, 5), 5);
    // The two generators are separate streams: drawing from one leaves the other.
    CApi c;
    c.Randomize(7);
    for (int i = 0; i < 10; ++i) c.Rnd(0, 100);
    CApi d;
    d.Randomize(7);
    EXPECT_EQ(c.Math_Rnd(0, 1000000), d.Math_Rnd(0, 1000000));
}

// The text with every digit written as 'd': "2026/12/07" gives "dddd/dd/dd".
std::string DigitShape(std::string text) {
    for (char& c : text) {
        if (c >= '0' && c <= '9') c = 'd';
    }
    return text;
}

TEST(CApi, TimeAndDate) {
    platform::ManualClock clock(5'000'000);
    CApi api(clock);
    EXPECT_EQ(api.GetTime(), 5000u);
    api.Sleep(250);
    EXPECT_EQ(api.GetTime(), 5250u);
    api.Sleep(-5);
    EXPECT_EQ(api.GetTime(), 5250u);
    const std::string date = api.GetTimeWideYearMD(true, "/", true, "/", true, "");
    EXPECT_EQ(DigitShape(date), "dddd/dd/dd");
    const std::string md = api.GetTimeWideYearMD(false, "/", true, "-", true, ".");
    EXPECT_EQ(DigitShape(md), "dd-dd.");
    EXPECT_EQ(api.GetTimeWideYearMD(false, "/", false, "/", false, "/"), "");
}

TEST(SingleInstance, ASecondLockIsDetected) {
    testing::TempDataRoot root;
    std::unique_ptr<platform::InstanceLock> first;
    ASSERT_EQ(platform::AcquireInstanceLock(first), platform::InstanceLockResult::kAcquired);
    std::unique_ptr<platform::InstanceLock> second;
    EXPECT_EQ(platform::AcquireInstanceLock(second), platform::InstanceLockResult::kHeldElsewhere);
    EXPECT_EQ(second, nullptr);
    first.reset();  // the first copy ends
    EXPECT_EQ(platform::AcquireInstanceLock(second), platform::InstanceLockResult::kAcquired);
}

TEST(SingleInstance, AppPrevInstanceReturnsForTheFirstCopy) {
    testing::TempDataRoot root;
    CApi api;
    api.AppPrevInstance("");
    // This process now holds the lock: another holder is refused.
    std::unique_ptr<platform::InstanceLock> other;
    EXPECT_EQ(platform::AcquireInstanceLock(other), platform::InstanceLockResult::kHeldElsewhere);
}

TEST(SingleInstanceDeathTest, ASecondCopyEndsAtOnce) {
    testing::TempDataRoot root;
    std::unique_ptr<platform::InstanceLock> first;
    ASSERT_EQ(platform::AcquireInstanceLock(first), platform::InstanceLockResult::kAcquired);
    EXPECT_EXIT(
        {
            CApi api;
            api.AppPrevInstance("既に起動しています");
            std::_Exit(3);  // not reached when the copy is detected
        },
        ::testing::ExitedWithCode(0), "既に起動しています");
}

TEST(SingleInstance, NoLockFolderMeansCarryOn) {
    testing::TempDataRoot root;
    std::unique_ptr<platform::InstanceLock> lock;
    EXPECT_EQ(platform::AcquireInstanceLock(lock, "\\missing\\folder\\brumil.lock"),
              platform::InstanceLockResult::kUnavailable);
}

}  // namespace
}  // namespace brumil::core
