// Turns one console input record into the answer of a key read, the way a
// console "get character without echo" does.
#ifndef KESTRIN_KEY_RECORD_H_
#define KESTRIN_KEY_RECORD_H_

#include <cstdint>

namespace kestrin {

// The fields of a Win32 INPUT_RECORD that decide the result, so the rule can
// be tested without Windows.
struct KeyRecord {
  bool is_key_event;             // EventType == KEY_EVENT
  bool key_down;                 // bKeyDown
  char ascii_char;               // uChar.AsciiChar
  std::uint16_t virtual_key;     // wVirtualKeyCode
  std::uint32_t control_state;   // dwControlKeyState
};

// Flag of dwControlKeyState for the enhanced (grey) keys.
constexpr std::uint32_t kEnhancedKeyFlag = 0x0100;

// Not an answer: read the next record.
constexpr int kSkipRecord = -2;

// Returns the character of a key press (0..255); 224 for an enhanced key
// without a character (grey arrows, Insert, Home...); 0 for any other key
// without a character (function keys...); kSkipRecord for a record that is
// not a key press, and for Shift, Ctrl, Alt or a lock key pressed alone.
int KeyFromRecord(const KeyRecord& record);

}  // namespace kestrin

#endif  // KESTRIN_KEY_RECORD_H_
