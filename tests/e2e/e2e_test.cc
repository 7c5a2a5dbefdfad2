// End-to-end tests: the real Kestrin.exe against Wine's registry, console and
// process launch. Each case starts from its own known state of the driver's
// key, runs the tool as a process and checks its exit code, its output byte
// for byte and the registry through the API.
#include <gtest/gtest.h>

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

// Exactly one Shutdown.exe ran, the system's own, asked to restart in 10 s.
void ExpectOneSystemRestart(const Result& r) {
  ASSERT_EQ(1u, r.launches.size());
  EXPECT_EQ(0, _stricmp((SystemDirectory() + "\\shutdown.exe").c_str(),
                        r.launches[0].program.c_str()))
      << r.launches[0].program;
  EXPECT_EQ("\"" + SystemDirectory() + "\\Shutdown.exe\" /r /t 10",
            r.launches[0].command_line);
}

TEST(PatchTest, NoRestartOptionSetsTheValues) {
  for (const char* arg : {"/n", "/N"}) {
    SCOPED_TRACE(arg);
    ResetDriverKey(kSeed);
    Result r = RunKestrin({arg});
    EXPECT_TRUE(r.finished);
    EXPECT_EQ(0u, r.exit_code);
    EXPECT_EQ(kBanner + kPatched, r.output);
    EXPECT_EQ(Patched(kSeed), ReadParameters());
    EXPECT_EQ(0u, r.launches.size());
  }
}

TEST(PatchTest, AbsentKeyIsReportedAndNothingIsCreated) {
  ResetDriverKey({}, /*create=*/false);
  DWORD services_before = SubkeyCount(kServicesKey);
  Result r = RunKestrin({"/n"});
  EXPECT_EQ(1u, r.exit_code);
  EXPECT_EQ(kBanner + "Driver information not found.\r\n", r.output);
  EXPECT_FALSE(KeyExists(kServiceKey));
  EXPECT_EQ(services_before, SubkeyCount(kServicesKey));
  EXPECT_EQ(0u, r.launches.size());
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
