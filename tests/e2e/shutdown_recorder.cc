// Stands in for Shutdown.exe in the test prefix: appends one line to the
// file named by KESTRIN_LAUNCH_LOG, "<its own path>|<its command line>", so
// the tests see which Shutdown.exe ran and with what arguments. It restarts
// nothing.
#include <windows.h>

#include <cstring>

int main() {
  char log_path[MAX_PATH];
  DWORD n = GetEnvironmentVariableA("KESTRIN_LAUNCH_LOG", log_path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return 1;

  char line[2 * MAX_PATH + 1024];
  DWORD length = GetModuleFileNameA(nullptr, line, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 1;
  line[length++] = '|';
  const char* command_line = GetCommandLineA();
  size_t command_length = std::strlen(command_line);
  if (command_length > sizeof line - length - 2) return 1;
  std::memcpy(line + length, command_line, command_length);
  length += static_cast<DWORD>(command_length);
  line[length++] = '\n';

  HANDLE log = CreateFileA(log_path, FILE_APPEND_DATA,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (log == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(log, line, length, &written, nullptr);
  CloseHandle(log);
  return 0;
}
