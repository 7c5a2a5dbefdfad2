#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "entry.h"
#include "fake_platform.h"

namespace kestrin {
namespace {

const std::string kBanner =
    std::string(kCopyrightLine) +
    "Vaskori Kestrin_C0 utility , Version 0.10 <2006/10/16>\n\n";
const std::string kUsage =
    "Kestrin.exe Command option:\n"
    "    /h or /? : show this help\n"
    "    /r : reboot system after set values successful\n"
    "    /n : do not reboot system after set values successful\n";
const std::string kPatched = "Found driver information.\nSet values OK.\n";
const char kPrompt[] = "Restart system now? (Yes or No) ";

// Runs the tool with `args` after the program name.
void RunWith(std::vector<const char*> args, FakePlatform& fake, int& code) {
  args.insert(args.begin(), "Kestrin.exe");
  args.push_back(nullptr);
  code = Run(static_cast<int>(args.size() - 1), args.data(), fake);
}

TEST(EntryTest, CopyrightLineIsOneLine) {
  std::string line = kCopyrightLine;
  ASSERT_FALSE(line.empty());
  EXPECT_EQ('\n', line.back());
  EXPECT_EQ(line.size() - 1, line.find('\n'));
}

TEST(EntryTest, HelpAndBadArgumentsShowUsageAndNeverTouchTheRegistry) {
  const struct Case {
    std::vector<const char*> args;
    int code;
  } cases[] = {
      {{"/h"}, 0},         {{"/H"}, 0},        {{"/?"}, 0},
      {{"/?", "/r"}, 0},   {{"/h", "/n"}, 0},
      {{"/help"}, 2},      {{"-h"}, 2},        {{"h"}, 2},
      {{"/r:"}, 2},        {{""}, 2},          {{"/r "}, 2},
      {{" /r"}, 2},        {{"/"}, 2},         {{"/hx"}, 2},
      {{"/x"}, 2},         {{"//"}, 2},        {{"/rn"}, 2},
      {{"\\r"}, 2},        {{"r"}, 2},         {{"/\xD2"}, 2},
      {{"-?", "/n"}, 2},   {{"/-"}, 2},
  };
  for (const Case& c : cases) {
    std::string shown;
    for (const char* a : c.args) shown += std::string("[") + a + "]";
    SCOPED_TRACE(shown);
    FakePlatform fake;
    int code = -1;
    RunWith(c.args, fake, code);
    EXPECT_EQ(c.code, code);
    EXPECT_EQ(kBanner + kUsage, fake.output);
    EXPECT_FALSE(fake.Touched("open"));
    EXPECT_TRUE(fake.launched.empty());
  }
}

TEST(EntryTest, LongArgumentIsJustBad) {
  std::string long_arg(100000, 'r');
  long_arg[0] = '/';
  FakePlatform fake;
  int code = -1;
  RunWith({long_arg.c_str()}, fake, code);
  EXPECT_EQ(2, code);
  EXPECT_FALSE(fake.Touched("open"));
}

// Every first argument of up to two bytes (each byte 1..255; a NUL byte
// ends the string, so it is the shorter argument), and long and random ones:
// each is one of the seven options, or it gets the usage text and exit code
// 2 without a single registry call.
TEST(EntryTest, EveryShortArgumentIsAnOptionOrRejectedUntouched) {
  const std::set<std::string> help = {"/h", "/H", "/?"};
  const std::set<std::string> patch = {"/r", "/R", "/n", "/N"};

  std::vector<std::string> args = {""};
  for (int first = 1; first < 256; ++first) {
    args.push_back(std::string(1, static_cast<char>(first)));
    for (int second = 1; second < 256; ++second)
      args.push_back({static_cast<char>(first), static_cast<char>(second)});
  }
  args.push_back(std::string(70000, '/'));
  args.push_back("/" + std::string(4096, 'h'));
  std::mt19937 random(20061016);  // fixed seed: the same cases every run
  for (int i = 0; i < 2000; ++i) {
    std::string arg(1 + random() % 40, ' ');
    for (char& c : arg) c = static_cast<char>(1 + random() % 255);
    if (i % 2 == 0) arg[0] = '/';
    args.push_back(arg);
  }

  int options_seen = 0;
  for (const std::string& arg : args) {
    FakePlatform fake;
    fake.keys = {'n'};
    int code = -1;
    RunWith({arg.c_str()}, fake, code);
    bool registry_used = fake.Touched("open") || fake.Touched("set") ||
                         fake.Touched("close");
    if (patch.count(arg) != 0) {
      ++options_seen;
      EXPECT_EQ(0, code) << arg;
      EXPECT_TRUE(registry_used) << arg;
    } else {
      if (help.count(arg) != 0) ++options_seen;
      EXPECT_EQ(help.count(arg) != 0 ? 0 : 2, code) << arg;
      EXPECT_EQ(kBanner + kUsage, fake.output) << arg;
      EXPECT_FALSE(registry_used) << arg;
      EXPECT_TRUE(fake.launched.empty()) << arg;
    }
    if (HasFailure()) break;  // one reported case is enough to read
  }
  EXPECT_EQ(7, options_seen);
}

TEST(EntryTest, PatchOptionsAndNoArgument) {
  const std::string restart = "\"C:\\Windows\\system32\\Shutdown.exe\" /r /t 10";
  const struct Case {
    std::vector<const char*> args;
    int key;  // waiting at the console
    std::string output_after_banner;
    bool launches;
  } cases[] = {
      {{}, 'y', kPatched + kPrompt, true},
      {{}, 'n', kPatched + kPrompt, false},
      {{}, kEndOfInput, kPatched + kPrompt, false},
      {{"/n"}, 'y', kPatched, false},
      {{"/N"}, 'y', kPatched, false},
      {{"/r"}, 'n', kPatched, true},
      {{"/R"}, 'n', kPatched, true},
      {{"/n", "/r"}, 'y', kPatched, false},
      {{"/r", "extra", "words"}, 'n', kPatched, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.empty() ? "(none)" : c.args[0]);
    FakePlatform fake;
    fake.keys = {c.key};
    int code = -1;
    RunWith(c.args, fake, code);
    EXPECT_EQ(0, code);
    EXPECT_EQ(kBanner + c.output_after_banner, fake.output);
    EXPECT_EQ(c.launches ? std::vector<std::string>{restart}
                         : std::vector<std::string>{},
              fake.launched);
    EXPECT_EQ(4u, fake.values.size());
  }
}

TEST(EntryTest, FailedPatchEndsWithOneAndNoQuestion) {
  for (const char* arg : {static_cast<const char*>(nullptr), "/r", "/n"}) {
    SCOPED_TRACE(arg ? arg : "(none)");
    std::vector<const char*> args;
    if (arg) args.push_back(arg);

    FakePlatform absent;
    absent.key_exists = false;
    absent.keys = {'y'};
    int code = -1;
    RunWith(args, absent, code);
    EXPECT_EQ(1, code);
    EXPECT_EQ(kBanner + "Driver information not found.\n", absent.output);
    EXPECT_FALSE(absent.Touched("read key"));
    EXPECT_TRUE(absent.launched.empty());

    FakePlatform refused;
    refused.refused_writes = {"UseOneLED"};
    refused.keys = {'y'};
    code = -1;
    RunWith(args, refused, code);
    EXPECT_EQ(1, code);
    EXPECT_EQ(kBanner + "Found driver information.\nSet value fault!\n",
              refused.output);
    EXPECT_FALSE(refused.Touched("read key"));
    EXPECT_TRUE(refused.launched.empty());
  }
}

}  // namespace
}  // namespace kestrin
