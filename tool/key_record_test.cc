#include <gtest/gtest.h>

#include "key_record.h"

namespace kestrin {
namespace {

constexpr std::uint32_t kShiftPressed = 0x0010;
constexpr std::uint32_t kCapsLockOn = 0x0080;

struct Case {
  const char* what;
  KeyRecord record;
  int expected;
};

TEST(KeyRecordTest, Table) {
  const Case cases[] = {
      {"y", {true, true, 'y', 'Y', 0}, 'y'},
      {"Y with Shift held", {true, true, 'Y', 'Y', kShiftPressed}, 'Y'},
      {"Y with Caps Lock on", {true, true, 'Y', 'Y', kCapsLockOn}, 'Y'},
      {"n", {true, true, 'n', 'N', 0}, 'n'},
      {"Enter", {true, true, '\r', 0x0D, 0}, '\r'},
      {"Esc", {true, true, 27, 0x1B, 0}, 27},
      {"blank", {true, true, ' ', 0x20, 0}, ' '},
      {"digit", {true, true, '7', 0x37, 0}, '7'},
      {"Ctrl+C is the character 3", {true, true, 3, 'C', 0x0008}, 3},
      {"byte above 127", {true, true, '\xE9', 0xDE, 0}, 0xE9},
      {"y released", {true, false, 'y', 'Y', 0}, kSkipRecord},
      {"Enter released", {true, false, '\r', 0x0D, 0}, kSkipRecord},
      {"not a key event", {false, false, 0, 0, 0}, kSkipRecord},
      {"grey arrow", {true, true, 0, 0x26, kEnhancedKeyFlag}, 224},
      {"grey Delete", {true, true, 0, 0x2E, kEnhancedKeyFlag}, 224},
      {"keypad arrow, Num Lock off", {true, true, 0, 0x26, 0}, 0},
      {"F1", {true, true, 0, 0x70, 0}, 0},
      {"F12", {true, true, 0, 0x7B, 0}, 0},
      {"Shift alone", {true, true, 0, 0x10, kShiftPressed}, kSkipRecord},
      {"Ctrl alone", {true, true, 0, 0x11, 0x0008}, kSkipRecord},
      {"right Ctrl alone (enhanced)", {true, true, 0, 0x11, 0x0004 | kEnhancedKeyFlag}, kSkipRecord},
      {"Alt alone", {true, true, 0, 0x12, 0x0002}, kSkipRecord},
      {"right Alt alone (enhanced)", {true, true, 0, 0x12, 0x0001 | kEnhancedKeyFlag}, kSkipRecord},
      {"Caps Lock", {true, true, 0, 0x14, kCapsLockOn}, kSkipRecord},
      {"Num Lock (enhanced)", {true, true, 0, 0x90, kEnhancedKeyFlag}, kSkipRecord},
      {"Scroll Lock", {true, true, 0, 0x91, 0}, kSkipRecord},
      {"left Shift code", {true, true, 0, 0xA0, kShiftPressed}, kSkipRecord},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.expected, KeyFromRecord(c.record)) << c.what;
  }
}

}  // namespace
}  // namespace kestrin
