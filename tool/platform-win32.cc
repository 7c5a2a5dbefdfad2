// The Windows half of the tool: Platform on the Win32 API, and main().
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <windows.h>

#include "entry.h"
#include "key_record.h"
#include "platform.h"

#ifdef __MINGW32__
// Arguments are never wildcard-expanded: "/?" must reach the tool as it is.
extern "C" {
int _dowildcard = 0;
}
#endif

namespace kestrin {
namespace {

class Win32Platform : public Platform {
 public:
  Win32Platform() = default;
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;
  // The console input device, once opened, is released when the run ends.
  ~Win32Platform() override {
    if (console_ != INVALID_HANDLE_VALUE) CloseHandle(console_);
  }

  void Print(const char* text) override { fputs(text, stdout); }

  long OpenMachineKey(const char* subkey) override {
    return RegOpenKeyA(HKEY_LOCAL_MACHINE, subkey, &key_);
  }

  long SetDwordValue(const char* name, std::uint32_t data) override {
    DWORD value = data;  // little-endian on every Windows target
    return RegSetValueExA(key_, name, 0, REG_DWORD,
                          reinterpret_cast<const BYTE*>(&value), sizeof value);
  }

  void CloseKey() override {
    RegCloseKey(key_);
    key_ = nullptr;
  }

  int ReadKey() override {
    if (!console_opened_) {
      console_opened_ = true;
      console_ = CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, 0, nullptr);
    }
    if (console_ == INVALID_HANDLE_VALUE) return kEndOfInput;

    // Raw mode for the read: no Enter needed, no echo, and Ctrl+C arrives
    // as a character. Keys typed earlier are still waiting and count.
    DWORD saved_mode = 0;
    BOOL have_mode = GetConsoleMode(console_, &saved_mode);
    SetConsoleMode(console_, 0);

    int key = kEndOfInput;
    for (;;) {
      INPUT_RECORD record;
      DWORD count = 0;
      if (ReadConsoleInputA(console_, &record, 1, &count) == FALSE || count == 0)
        break;
      KeyRecord view = {};
      view.is_key_event = record.EventType == KEY_EVENT;
      if (view.is_key_event) {
        const KEY_EVENT_RECORD& k = record.Event.KeyEvent;
        view.key_down = k.bKeyDown != FALSE;
        view.ascii_char = k.uChar.AsciiChar;
        view.virtual_key = k.wVirtualKeyCode;
        view.control_state = k.dwControlKeyState;
      }
      int result = KeyFromRecord(view);
      if (result != kSkipRecord) {
        key = result;
        break;
      }
    }

    if (have_mode != FALSE) SetConsoleMode(console_, saved_mode);
    return key;
  }

  std::size_t SystemDirectory(char* buffer, std::size_t size) override {
    if (size == 0) return 0;
    UINT length = GetSystemDirectoryA(buffer, static_cast<UINT>(size));
    if (length == 0 || length >= size) {
      buffer[0] = '\0';
      return 0;
    }
    return length;
  }

  void Launch(const char* command_line) override {
    WinExec(command_line, SW_HIDE);
  }

 private:
  HKEY key_ = nullptr;
  HANDLE console_ = INVALID_HANDLE_VALUE;
  bool console_opened_ = false;
};

// Messages leave in text mode (LF becomes CR LF). On a character device
// (console, NUL) each one is out before Print returns, so the prompt shows
// before the key is awaited; into a file or pipe they are gathered in one
// buffer that is written at exit.
char g_output_buffer[4096];

void SetUpOutput() {
  int fd = _fileno(stdout);
  if (fd < 0) return;  // no standard output at all: every Print fails quietly
  _setmode(fd, _O_TEXT);
  if (_isatty(fd) != 0)
    setvbuf(stdout, nullptr, _IONBF, 0);
  else
    setvbuf(stdout, g_output_buffer, _IOFBF, sizeof g_output_buffer);
}

}  // namespace
}  // namespace kestrin

int main(int argc, char** argv) {
  kestrin::SetUpOutput();
  int exit_code;
  {
    kestrin::Win32Platform platform;
    exit_code = kestrin::Run(argc, argv, platform);
  }
  return exit_code;
}
