#include "platform/media/media_commands.h"

#include <gtest/gtest.h>

#include "media_test_util.h"

namespace brumil::platform::test {
namespace {

constexpr int kHz = 44100;

struct CommandFixture : ::testing::Test {
    MediaTestEnv env;
    std::unique_ptr<MediaCommands> commands = MakeMediaCommands(env.Maker());
    std::vector<std::int16_t> source = Ramp(kHz / 10);  // 100 ms
    std::string path;

    void SetUp() override { path = env.Write("bgm.ogg", MediaFileKind::Wav16, source, 2, kHz); }
    MediaCommandError Send(const std::string& command) {
        std::string reply;
        return commands->SendString(command, reply, 0);
    }
    std::string Mode() {
        std::string reply;
        EXPECT_EQ(commands->SendString("status bgmfile mode ", reply, 16), MediaCommandError::None);
        return reply;
    }
    std::vector<std::int16_t> Tick(std::size_t frames) {
        commands->Refill();
        return env.Render(frames);
    }
};

TEST_F(CommandFixture, OpenPlayStatusStopClose) {
    ASSERT_EQ(Send("open \"" + path + "\" alias bgmfile "), MediaCommandError::None);
    EXPECT_EQ(Mode(), "stopped");
    ASSERT_EQ(Send("play bgmfile "), MediaCommandError::None);
    EXPECT_EQ(Mode(), "playing");
    EXPECT_EQ(Tick(1000), Slice(source, 0, 1000));
    ASSERT_EQ(Send("stop bgmfile "), MediaCommandError::None);
    EXPECT_EQ(Mode(), "stopped");
    // Play without "from" resumes where it stopped.
    Send("play bgmfile ");
    EXPECT_EQ(Tick(500), Slice(source, 1000, 500));
    ASSERT_EQ(Send("close bgmfile "), MediaCommandError::None);
    EXPECT_EQ(Send("status bgmfile mode "), MediaCommandError::MissingDevice);
}

TEST_F(CommandFixture, TheEndReportsStoppedAndPlayFromZeroStartsAgain) {
    Send("open \"" + path + "\" alias bgmfile ");
    Send("play bgmfile ");
    for (int t = 0; t < 3; ++t) Tick(2205);
    EXPECT_EQ(Mode(), "stopped");
    // At the end a plain play stops again at once.
    Send("play bgmfile ");
    EXPECT_EQ(Mode(), "stopped");
    ASSERT_EQ(Send("play bgmfile from 0 "), MediaCommandError::None);
    EXPECT_EQ(Mode(), "playing");
    EXPECT_EQ(Tick(300), Slice(source, 0, 300));
    ASSERT_EQ(Send("play bgmfile from 50"), MediaCommandError::None);
    EXPECT_EQ(Tick(10), Slice(source, 2205, 10));
}

TEST_F(CommandFixture, WordsAreCaseInsensitiveAndTheAliasDefaultsToThePath) {
    ASSERT_EQ(Send("OPEN \"" + path + "\" ALIAS BgmFile"), MediaCommandError::None);
    EXPECT_EQ(Send("Play bgmfile"), MediaCommandError::None);
    EXPECT_EQ(Mode(), "playing");
    ASSERT_EQ(Send("open " + path), MediaCommandError::None);
    EXPECT_EQ(Send("stop " + path), MediaCommandError::None);
}

TEST_F(CommandFixture, RefusesWhatItDoesNotUnderstand) {
    env.Root().Write("junk.ogg", std::string(500, 'j'));
    const std::string open = "open \"" + path + "\" alias bgmfile ";
    ASSERT_EQ(Send(open), MediaCommandError::None);
    struct Case {
        std::string command;
        MediaCommandError error;
    };
    const Case cases[] = {
        {open, MediaCommandError::DuplicateAlias},
        {"open \"\\junk.ogg\" alias other", MediaCommandError::CannotOpen},
        {"open \"\\missing.ogg\" alias other", MediaCommandError::CannotOpen},
        {"open \"" + path + "\" alias", MediaCommandError::BadParameter},
        {"open", MediaCommandError::MissingDevice},
        {"", MediaCommandError::UnknownCommand},
        {"pause bgmfile", MediaCommandError::UnknownCommand},
        {"play", MediaCommandError::MissingDevice},
        {"play other", MediaCommandError::MissingDevice},
        {"play bgmfile from", MediaCommandError::BadParameter},
        {"play bgmfile from x1", MediaCommandError::BadParameter},
        {"play bgmfile to 10", MediaCommandError::BadParameter},
        {"status bgmfile position", MediaCommandError::BadParameter},
        {"stop bgmfile now", MediaCommandError::BadParameter},
    };
    for (const Case& c : cases) EXPECT_EQ(Send(c.command), c.error) << c.command;
    // The reply must fit with its terminating zero: "stopped" needs 8 bytes.
    std::string reply = "x";
    EXPECT_EQ(commands->SendString("status bgmfile mode", reply, 7),
              MediaCommandError::ReplyTooSmall);
    EXPECT_EQ(reply, "");
    EXPECT_EQ(commands->SendString("status bgmfile mode", reply, 8), MediaCommandError::None);
    EXPECT_EQ(reply, "stopped");
    // The failed open under "other" left nothing behind.
    EXPECT_EQ(Send("close other"), MediaCommandError::MissingDevice);
}

}  // namespace
}  // namespace brumil::platform::test
