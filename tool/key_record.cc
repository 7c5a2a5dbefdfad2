#include "key_record.h"

namespace kestrin {

namespace {

// Virtual-key codes of the keys that only modify or toggle and so never
// answer on their own (values from WinUser.h).
bool IsModifierOrLock(std::uint16_t virtual_key) {
  switch (virtual_key) {
    case 0x10:  // VK_SHIFT
    case 0x11:  // VK_CONTROL
    case 0x12:  // VK_MENU (Alt)
    case 0x14:  // VK_CAPITAL (Caps Lock)
    case 0x90:  // VK_NUMLOCK
    case 0x91:  // VK_SCROLL (Scroll Lock)
    case 0xA0:  // VK_LSHIFT
    case 0xA1:  // VK_RSHIFT
    case 0xA2:  // VK_LCONTROL
    case 0xA3:  // VK_RCONTROL
    case 0xA4:  // VK_LMENU
    case 0xA5:  // VK_RMENU
      return true;
    default:
      return false;
  }
}

}  // namespace

int KeyFromRecord(const KeyRecord& record) {
  if (!record.is_key_event || !record.key_down) return kSkipRecord;
  if (record.ascii_char != '\0')
    return static_cast<unsigned char>(record.ascii_char);
  if (IsModifierOrLock(record.virtual_key)) return kSkipRecord;
  return (record.control_state & kEnhancedKeyFlag) != 0 ? 224 : 0;
}

}  // namespace kestrin
