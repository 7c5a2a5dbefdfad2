#include <gtest/gtest.h>

#include <algorithm>

#include "fake_platform.h"
#include "kestrin.h"

namespace kestrin {
namespace {

const char kKey[] = "System\\CurrentControlSet\\Services\\ti21sony\\Parameters\\";

TEST(PatchTest, KeyPathIsExact) {
  // Five literal backslashes, one at the end, 54 characters.
  EXPECT_STREQ(kKey, kDriverParametersKey);
  EXPECT_EQ(54u, sizeof kKey - 1);
}

TEST(PatchTest, AbsentKeyWritesNothingAndReportsNotFound) {
  FakePlatform fake;
  fake.key_exists = false;
  fake.values["Other"] = {"REG_SZ", "keep"};

  EXPECT_EQ(PatchOutcome::kNotFound, PatchDriverParameters(fake));

  EXPECT_EQ("Driver information not found.\n", fake.output);
  EXPECT_EQ(std::vector<std::string>({"open " + std::string(kKey),
                                      "print Driver information not found.\n"}),
            fake.transcript);
  EXPECT_EQ(1u, fake.values.size());
}

TEST(PatchTest, WritesFourValuesInOrderThenClosesThenReports) {
  FakePlatform fake;
  fake.values["Other"] = {"REG_BINARY", std::string("\x01\x00\x02", 3)};
  fake.values["UseOneLED"] = {"REG_SZ", "yes"};  // replaced whatever its type
  fake.values["UseMFUNC"] = DwordValue(7);

  EXPECT_EQ(PatchOutcome::kOk, PatchDriverParameters(fake));

  EXPECT_EQ(std::vector<std::string>({
                "open " + std::string(kKey),
                "print Found driver information.\n",
                "set UseSWMG 1",
                "set MSSlotOnly 0",
                "set UseOneLED 1",
                "set UseMFUNC 32",
                "close",
                "print Set values OK.\n",
            }),
            fake.transcript);
  std::map<std::string, FakeValue> expected = {
      {"Other", {"REG_BINARY", std::string("\x01\x00\x02", 3)}},
      {"UseSWMG", DwordValue(1)},
      {"MSSlotOnly", DwordValue(0)},
      {"UseOneLED", DwordValue(1)},
      {"UseMFUNC", DwordValue(0x20)},
  };
  EXPECT_EQ(expected, fake.values);
}

TEST(PatchTest, SecondRunWritesAgainWithSameResult) {
  FakePlatform fake;
  ASSERT_EQ(PatchOutcome::kOk, PatchDriverParameters(fake));
  std::map<std::string, FakeValue> after_first = fake.values;
  std::string first_output = fake.output;
  fake.output.clear();
  fake.transcript.clear();

  EXPECT_EQ(PatchOutcome::kOk, PatchDriverParameters(fake));
  EXPECT_EQ(after_first, fake.values);
  EXPECT_EQ(first_output, fake.output);
  EXPECT_EQ(4, std::count_if(fake.transcript.begin(), fake.transcript.end(),
                             [](const std::string& s) { return s.rfind("set ", 0) == 0; }));
}

// Whichever single write is refused, all four are attempted, the key is
// closed before the report, the others stay written and the outcome is fault.
TEST(PatchTest, AnyOneRefusedWriteIsAFault) {
  const char* names[] = {"UseSWMG", "MSSlotOnly", "UseOneLED", "UseMFUNC"};
  for (const char* refused : names) {
    SCOPED_TRACE(refused);
    FakePlatform fake;
    fake.refused_writes = {refused};

    EXPECT_EQ(PatchOutcome::kFault, PatchDriverParameters(fake));

    EXPECT_EQ("Found driver information.\nSet value fault!\n", fake.output);
    ASSERT_EQ(8u, fake.transcript.size());
    EXPECT_EQ("set UseMFUNC 32", fake.transcript[5]);
    EXPECT_EQ("close", fake.transcript[6]);
    EXPECT_EQ("print Set value fault!\n", fake.transcript[7]);
    EXPECT_EQ(3u, fake.values.size());
    EXPECT_EQ(0u, fake.values.count(refused));
  }
}

}  // namespace
}  // namespace kestrin
