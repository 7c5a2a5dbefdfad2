// End-to-end tests: the real Kestrin.exe against Wine's registry, console and
// process launch. Each case starts from its own known state of the driver's
// key, runs the tool as a process and checks its exit code, its output byte
// for byte (CR LF) and the registry through the API.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "harness.h"

namespace e2e {
namespace {

const std::string kBanner =
    "Copyright (C) 2006 Vaskori. All rights reserved.\r\n"
    "Vaskori Kestrin_C0 utility , Version 0.10 <2006/10/16>\r\n\r\n";
const std::string kUsage =
    "Kestrin.exe Command option:\r\n"
    "    /h or /? : show this help\r\n"
    "    /r : reboot system after set values successful\r\n"
    "    /n : do not reboot system after set values successful\r\n";
const std::string kPatched = "Found driver information.\r\nSet values OK.\r\n";
const std::string kNotFound = "Driver information not found.\r\n";
const std::string kFault = "Found driver information.\r\nSet value fault!\r\n";
const std::string kPrompt = "Restart system now? (Yes or No) ";

const Values kSeed = {
    {"Other", String("keep me")},
    {"Extra", Dword(0xDEADBEEF)},
};

Values Patched(Values values) {
  values["UseSWMG"] = Dword(1);
  values["MSSlotOnly"] = Dword(0);
  values["UseOneLED"] = Dword(1);
  values["UseMFUNC"] = Dword(32);
  return values;
}

// Exactly one Shutdown.exe ran: the system's own, not one planted beside the
// tool or in its current folder, asked to restart in 10 seconds.
void ExpectOneSystemRestart(const Result& r) {
  ASSERT_EQ(1u, r.launches.size());
  EXPECT_EQ(0, _stricmp((SystemDirectory() + "\\shutdown.exe").c_str(),
                        r.launches[0].program.c_str()))
      << r.launches[0].program;
  EXPECT_EQ("\"" + SystemDirectory() + "\\Shutdown.exe\" /r /t 10",
            r.launches[0].command_line);
}

void ExpectLaunches(bool restart, const Result& r) {
  if (restart) {
    ExpectOneSystemRestart(r);
  } else {
    EXPECT_EQ(0u, r.launches.size())
        << (r.launches.empty() ? "" : r.launches[0].program);
  }
}

// --- Options -----------------------------------------------------------

TEST(OptionsTest, HelpAndBadArgumentsShowUsageAndLeaveTheRegistryAlone) {
  const struct Case {
    const char* args;  // as typed after the program name
    DWORD code;
  } cases[] = {
      {"/h", 0}, {"/H", 0}, {"/?", 0},
      {"/? /r", 0}, {"/h /n extra", 0},
      {"/help", 2}, {"-h", 2}, {"h", 2}, {"/r:", 2}, {"/N:", 2},
      {"\"\"", 2},          // an empty argument
      {"\"/r \"", 2},       // /r with a trailing blank, quoted into one
      {"/x", 2}, {"/", 2}, {"/hx", 2}, {"/rn", 2}, {"-r", 2}, {"\\n", 2},
      {"/* /n", 2},         // no wildcard expansion either
      {"-h /n", 2},         // only the first argument counts
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    ResetDriverKey(kSeed);
    Result r = RunKestrin({c.args});
    EXPECT_TRUE(r.finished);
    EXPECT_EQ(c.code, r.exit_code);
    EXPECT_EQ(kBanner + kUsage, r.output);
    EXPECT_EQ(kSeed, ReadParameters());
    ExpectLaunches(false, r);
  }
}

TEST(OptionsTest, PatchOptionsSetTheValuesAndDecideTheRestart) {
  const struct Case {
    const char* args;
    bool restart;
  } cases[] = {
      {"/n", false}, {"/N", false}, {"/r", true}, {"/R", true},
      {"/n /r", false},            // only the first argument counts
      {"/r extra words", true},    // the rest is ignored
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    ResetDriverKey(kSeed);
    // A y waiting at the console must not be taken as an answer: with an
    // option there is no question.
    Result r = RunKestrin({c.args, Press('y', 'Y')});
    EXPECT_TRUE(r.finished);
    EXPECT_EQ(0u, r.exit_code);
    EXPECT_EQ(kBanner + kPatched, r.output);
    EXPECT_EQ(Patched(kSeed), ReadParameters());
    ExpectLaunches(c.restart, r);
  }
}

// --- Registry ----------------------------------------------------------

TEST(RegistryTest, MissingKeyIsReportedAndNothingIsCreated) {
  for (bool service_key_exists : {false, true}) {
    SCOPED_TRACE(service_key_exists ? "service key without Parameters"
                                    : "no service key");
    if (service_key_exists)
      CreateServiceKeyOnly();
    else
      ResetDriverKey({}, /*create=*/false);
    DWORD services_before = SubkeyCount(kServicesKey);
    for (const char* args : {"", "/r", "/n"}) {
      SCOPED_TRACE(args);
      Result r = RunKestrin({args, Press('y', 'Y')});
      EXPECT_EQ(1u, r.exit_code);
      EXPECT_EQ(kBanner + kNotFound, r.output);  // no question
      ExpectLaunches(false, r);
    }
    EXPECT_EQ(service_key_exists, KeyExists(kServiceKey));
    EXPECT_FALSE(KeyExists(kParametersKey));
    EXPECT_EQ(services_before, SubkeyCount(kServicesKey));
  }
}

TEST(RegistryTest, ValuesOfOtherTypesBecomeDwordsAndOthersStay) {
  Values seed = kSeed;
  seed["UseSWMG"] = String("1");
  seed["UseOneLED"] = Binary(std::string("\x01\x00\x00\x00\x00", 5));
  seed["UseMFUNC"] = Dword(7);
  seed["usemfunc2"] = Dword(7);
  ResetDriverKey(seed);

  Result r = RunKestrin({"/n"});
  EXPECT_EQ(0u, r.exit_code);
  EXPECT_EQ(kBanner + kPatched, r.output);
  EXPECT_EQ(Patched(seed), ReadParameters());
}

TEST(RegistryTest, SecondRunGivesTheSameKeyAndOutput) {
  ResetDriverKey(kSeed);
  Result first = RunKestrin({"/n"});
  Values after_first = ReadParameters();
  Result second = RunKestrin({"/n"});
  EXPECT_EQ(0u, second.exit_code);
  EXPECT_EQ(first.output, second.output);
  EXPECT_EQ(after_first, ReadParameters());
  EXPECT_EQ(Patched(kSeed), after_first);
}

TEST(RegistryTest, RefusedWritesAreAFaultWithNoQuestion) {
  for (const char* args : {"", "/r", "/n"}) {
    SCOPED_TRACE(args);
    ResetDriverKey(kSeed);
    MakeParametersReadOnly();  // Wine enforces the key's DACL
    Result r = RunKestrin({args, Press('y', 'Y')});
    EXPECT_EQ(1u, r.exit_code);
    EXPECT_EQ(kBanner + kFault, r.output);
    EXPECT_EQ(kSeed, ReadParameters());
    ExpectLaunches(false, r);
  }
  ResetDriverKey({});
}

// --- The question ------------------------------------------------------

TEST(QuestionTest, OnlyYesLaunchesTheRestart) {
  const DWORD kShift = SHIFT_PRESSED, kCtrl = LEFT_CTRL_PRESSED;
  const struct Case {
    const char* what;
    std::vector<INPUT_RECORD> ahead;   // typed before the question
    std::vector<INPUT_RECORD> answer;  // typed once it is up
    bool restart;
  } cases[] = {
      {"y", {}, Press('y', 'Y'), true},
      {"Y with Shift held", {},
       Join({KeyDown(0, VK_SHIFT, kShift), Press('Y', 'Y', kShift),
             KeyUp(0, VK_SHIFT)}),
       true},
      {"n", {}, Press('n', 'N'), false},
      {"Enter", {}, Press('\r', VK_RETURN), false},
      {"Esc", {}, Press('\x1b', VK_ESCAPE), false},
      {"blank", {}, Press(' ', VK_SPACE), false},
      {"digit", {}, Press('1', '1'), false},
      {"arrow key", {}, Press(0, VK_UP, ENHANCED_KEY), false},
      {"function key", {}, Press(0, VK_F5), false},
      // On a real terminal under Wine, Ctrl+C is turned into a signal by the
      // terminal before Wine sees it; on Windows the console hands it to a
      // reader in raw mode as character 3. The record is put into the
      // console input directly, as Windows would deliver it.
      {"Ctrl+C", {}, Press('\x03', 'C', kCtrl), false},
      {"lone Shift, Ctrl, Alt and lock keys, then y", {},
       Join({Press(0, VK_SHIFT, kShift), Press(0, VK_CONTROL, kCtrl),
             Press(0, VK_MENU, LEFT_ALT_PRESSED),
             Press(0, VK_CAPITAL, CAPSLOCK_ON),
             Press(0, VK_NUMLOCK, NUMLOCK_ON | ENHANCED_KEY),
             Press(0, VK_SCROLL, SCROLLLOCK_ON), Press('y', 'Y')}),
       true},
      {"lone Shift, then n", {},
       Join({Press(0, VK_SHIFT, kShift), Press('n', 'N')}), false},
      {"y typed ahead", Press('y', 'Y'), {}, true},
      {"n typed ahead", Press('n', 'N'), {}, false},
      {"Enter release left waiting, then y",
       Join({KeyUp('\r', VK_RETURN), FocusEvent()}), Press('y', 'Y'), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ResetDriverKey({});
    Result r = RunKestrin({"", c.ahead, c.answer});
    EXPECT_TRUE(r.finished);
    if (!c.answer.empty()) {
      EXPECT_TRUE(r.waited_for_answer);
    }
    EXPECT_EQ(0u, r.exit_code);
    EXPECT_EQ(kBanner + kPatched + kPrompt, r.output);
    ExpectLaunches(c.restart, r);
    // No key interrupts the tool: with the console in raw mode Ctrl+C is a
    // character, and no control event reaches the processes on the console.
    // (Wine ends a process interrupted this way with exit code 0, so the
    // exit code alone would not show it.)
    EXPECT_EQ(0, r.control_events);
  }
}

TEST(QuestionTest, WithoutAConsoleTheAnswerIsNo) {
  ResetDriverKey({});
  Invocation run;
  run.no_console = true;
  Result r = RunKestrin(run);
  EXPECT_TRUE(r.finished);
  EXPECT_EQ(0u, r.exit_code);
  EXPECT_EQ(kBanner + kPatched + kPrompt, r.output);
  EXPECT_EQ(Patched({}), ReadParameters());
  ExpectLaunches(false, r);
}

// On the console every message is out before the next step: the prompt is
// on screen while the tool waits, the key is not echoed and nothing follows
// it, so the cursor stays right behind the prompt.
TEST(QuestionTest, OnTheConsoleThePromptShowsBeforeTheWait) {
  ResetDriverKey({});
  Invocation run;
  run.out = Stdout::kConsole;
  run.answer = Press('y', 'Y');
  Result r = RunKestrin(run);
  EXPECT_TRUE(r.waited_for_answer);
  const std::string screen =
      "Copyright (C) 2006 Vaskori. All rights reserved.\n"
      "Vaskori Kestrin_C0 utility , Version 0.10 <2006/10/16>\n"
      "\n"
      "Found driver information.\n"
      "Set values OK.\n"
      "Restart system now? (Yes or No)";  // its trailing blank is not text
  EXPECT_EQ(screen, r.screen_at_question);
  EXPECT_EQ(screen, r.screen_after);
  EXPECT_EQ(static_cast<SHORT>(kPrompt.size()), r.cursor_after.X);
  EXPECT_EQ(0u, r.exit_code);
  ExpectOneSystemRestart(r);
}

// The key comes from the console keyboard, not from standard input. (Wine
// started with its own Unix standard input redirected feeds the console from
// it; here the tool's standard input is a Windows file, as on Windows.)
TEST(QuestionTest, StandardInputIsNotTheKeyboard) {
  ResetDriverKey({});
  Invocation run;
  run.stdin_text = "y\r\n";
  run.answer = Press('n', 'N');
  Result r = RunKestrin(run);
  EXPECT_TRUE(r.waited_for_answer);
  EXPECT_EQ(0u, r.exit_code);
  ExpectLaunches(false, r);
}

// --- Launch ------------------------------------------------------------

// Without the system's Shutdown.exe nothing is launched (not one of the
// planted ones either), nothing is said about it, and the run succeeds.
TEST(LaunchTest, MissingShutdownIsNotAnError) {
  ResetDriverKey({});
  ASSERT_TRUE(SetSystemShutdownPresent(false));
  Result r = RunKestrin({"/r"});
  Result asked = RunKestrin({"", Press('y', 'Y')});
  ASSERT_TRUE(SetSystemShutdownPresent(true));
  EXPECT_EQ(0u, r.exit_code);
  EXPECT_EQ(kBanner + kPatched, r.output);
  ExpectLaunches(false, r);
  EXPECT_EQ(0u, asked.exit_code);
  EXPECT_EQ(kBanner + kPatched + kPrompt, asked.output);
  ExpectLaunches(false, asked);
}

// --- Standard output ---------------------------------------------------

TEST(OutputTest, IntoAFileEveryMessageArrivesThePromptLast) {
  ResetDriverKey({});
  Invocation run;
  run.out = Stdout::kFile;
  run.answer = Press('n', 'N');
  Result r = RunKestrin(run);
  EXPECT_TRUE(r.waited_for_answer);
  EXPECT_EQ(0u, r.exit_code);
  EXPECT_EQ(kBanner + kPatched + kPrompt, r.output);
}

TEST(OutputTest, UnwritableOutputChangesNeitherExitCodeNorRegistry) {
  const struct Case {
    const char* what;
    Stdout out;
  } cases[] = {
      {"closed", Stdout::kClosed},
      {"read-only file", Stdout::kReadOnlyFile},
      {"NUL device", Stdout::kNul},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ResetDriverKey(kSeed);
    Invocation run{"/n"};
    run.out = c.out;
    Result ok = RunKestrin(run);
    EXPECT_TRUE(ok.finished);
    EXPECT_EQ(0u, ok.exit_code);
    EXPECT_EQ(Patched(kSeed), ReadParameters());
    if (c.out == Stdout::kReadOnlyFile) EXPECT_EQ("", ok.output);

    run.args = "/r";
    Result restart = RunKestrin(run);
    EXPECT_EQ(0u, restart.exit_code);
    ExpectLaunches(true, restart);

    ResetDriverKey({}, /*create=*/false);
    run.args = "/n";
    Result missing = RunKestrin(run);
    EXPECT_EQ(1u, missing.exit_code);
    EXPECT_FALSE(KeyExists(kServiceKey));
  }
}

}  // namespace
}  // namespace e2e

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  std::string error;
  if (!e2e::SetUp(&error)) {
    std::fprintf(stderr, "e2e set-up failed: %s\n", error.c_str());
    return 1;
  }
  return RUN_ALL_TESTS();
}
