#include <gtest/gtest.h>

#include "fake_platform.h"
#include "kestrin.h"

namespace kestrin {
namespace {

const char kPrompt[] = "Restart system now? (Yes or No) ";
const char kRestart[] = "\"C:\\Windows\\system32\\Shutdown.exe\" /r /t 10";

TEST(RestartTest, OptionsDecideWithoutAsking) {
  const struct Case {
    const char* arg;
    bool launches;
  } cases[] = {{"/r", true}, {"/R", true}, {"/n", false}, {"/N", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arg);
    FakePlatform fake;
    fake.keys = {'y'};  // must not be read
    DecideRestart(fake, c.arg);
    EXPECT_EQ("", fake.output);
    EXPECT_FALSE(fake.Touched("read key"));
    EXPECT_EQ(c.launches ? std::vector<std::string>{kRestart}
                         : std::vector<std::string>{},
              fake.launched);
  }
}

TEST(RestartTest, WithoutArgumentOnlyYesKeysLaunch) {
  const struct Case {
    const char* what;
    int key;
    bool launches;
  } cases[] = {
      {"y", 'y', true},          {"Y", 'Y', true},
      {"n", 'n', false},         {"N", 'N', false},
      {"Enter", '\r', false},    {"Esc", 27, false},
      {"blank", ' ', false},     {"digit", '1', false},
      {"Ctrl+C", 3, false},      {"function key", 0, false},
      {"arrow key", 224, false}, {"y with high bit", 'y' | 0x80, false},
      {"end of input", kEndOfInput, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakePlatform fake;
    fake.keys = {c.key};
    DecideRestart(fake, nullptr);
    // The prompt, then exactly one key read; nothing printed after it.
    std::vector<std::string> expected = {std::string("print ") + kPrompt,
                                         "read key"};
    if (c.launches) expected.push_back(std::string("launch ") + kRestart);
    EXPECT_EQ(expected, fake.transcript);
  }
}

// A bare "Shutdown.exe" would be searched for in the tool's folder and the
// current folder before the system folder; only the system's own may run.
TEST(RestartTest, LaunchesShutdownFromTheSystemFolderOnly) {
  FakePlatform fake;
  fake.system_dir = "D:\\Win Dows\\System32";
  DecideRestart(fake, "/r");
  EXPECT_EQ(std::vector<std::string>{"\"D:\\Win Dows\\System32\\Shutdown.exe\" /r /t 10"},
            fake.launched);

  FakePlatform no_system_dir;
  no_system_dir.system_dir = "";
  DecideRestart(no_system_dir, "/r");
  no_system_dir.keys = {'y'};
  DecideRestart(no_system_dir, nullptr);
  EXPECT_TRUE(no_system_dir.launched.empty());
}

TEST(RestartTest, BuildRestartCommand) {
  char buffer[64];
  EXPECT_TRUE(BuildRestartCommand("C:\\", buffer, sizeof buffer));
  EXPECT_STREQ("\"C:\\Shutdown.exe\" /r /t 10", buffer);

  const char dir[] = "C:\\W";
  const char expected[] = "\"C:\\W\\Shutdown.exe\" /r /t 10";
  EXPECT_TRUE(BuildRestartCommand(dir, buffer, sizeof expected));
  EXPECT_STREQ(expected, buffer);
  // One byte short: nothing, not a truncated command.
  EXPECT_FALSE(BuildRestartCommand(dir, buffer, sizeof expected - 1));
  EXPECT_STREQ("", buffer);

  EXPECT_FALSE(BuildRestartCommand("", buffer, sizeof buffer));
  EXPECT_STREQ("", buffer);
}

}  // namespace
}  // namespace kestrin
