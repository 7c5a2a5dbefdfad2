// The tool's only way to the outside world. The logic in this folder talks to
// the registry, the console keyboard, process launch and standard output
// through this interface; platform-win32.cc implements it with the Win32 API
// and the unit tests implement it with in-memory fakes.
#ifndef KESTRIN_PLATFORM_H_
#define KESTRIN_PLATFORM_H_

#include <cstddef>
#include <cstdint>

namespace kestrin {

// What ReadKey returns when no key can be had: a failed read, no record, or
// no console at all.
constexpr int kEndOfInput = -1;

class Platform {
 public:
  virtual ~Platform() = default;

  // Writes a fixed message to standard output. Failures are ignored.
  virtual void Print(const char* text) = 0;

  // Opens `subkey` under HKEY_LOCAL_MACHINE without creating it. Returns the
  // registry status: 0 means the key is open for the calls below.
  virtual long OpenMachineKey(const char* subkey) = 0;
  // Writes a REG_DWORD value into the open key. Returns the registry status.
  virtual long SetDwordValue(const char* name, std::uint32_t data) = 0;
  // Closes the open key; its status is of no interest to the tool.
  virtual void CloseKey() = 0;

  // Waits for one key press on the console keyboard (not standard input) and
  // returns its character, 0..255, or kEndOfInput.
  virtual int ReadKey() = 0;

  // Copies the Windows system folder into `buffer` (NUL-terminated) and
  // returns its length, or 0 if it cannot be had or does not fit.
  virtual std::size_t SystemDirectory(char* buffer, std::size_t size) = 0;
  // Starts `command_line` hidden and does not wait for it. Its result is of
  // no interest to the tool.
  virtual void Launch(const char* command_line) = 0;
};

}  // namespace kestrin

#endif  // KESTRIN_PLATFORM_H_
