#include <cstring>

#include "kestrin.h"

namespace kestrin {

namespace {

const char kRestartPrompt[] = "Restart system now? (Yes or No) ";
const char kShutdownProgram[] = "Shutdown.exe";
const char kRestartArguments[] = " /r /t 10";

// Launches the system's own Shutdown.exe by its full path. A bare name would
// be looked up in the tool's folder and the current folder first, where a
// planted program would run with the tool's (administrator) rights. Without
// the system folder nothing is launched.
void LaunchRestart(Platform& platform) {
  char system_dir[512];
  std::size_t length = platform.SystemDirectory(system_dir, sizeof system_dir);
  if (length == 0 || length >= sizeof system_dir) return;
  char command[sizeof system_dir + sizeof kShutdownProgram +
               sizeof kRestartArguments + 4];
  if (!BuildRestartCommand(system_dir, command, sizeof command)) return;
  platform.Launch(command);
}

}  // namespace

bool BuildRestartCommand(const char* system_dir, char* buffer,
                         std::size_t size) {
  if (size == 0) return false;
  buffer[0] = '\0';
  std::size_t dir_length = std::strlen(system_dir);
  if (dir_length == 0) return false;
  bool has_separator =
      system_dir[dir_length - 1] == '\\' || system_dir[dir_length - 1] == '/';
  std::size_t needed = 1 + dir_length + (has_separator ? 0 : 1) +
                       (sizeof kShutdownProgram - 1) + 1 +
                       (sizeof kRestartArguments - 1) + 1;
  if (needed > size) return false;

  char* out = buffer;
  *out++ = '"';
  std::memcpy(out, system_dir, dir_length);
  out += dir_length;
  if (!has_separator) *out++ = '\\';
  std::memcpy(out, kShutdownProgram, sizeof kShutdownProgram - 1);
  out += sizeof kShutdownProgram - 1;
  *out++ = '"';
  std::memcpy(out, kRestartArguments, sizeof kRestartArguments);  // with NUL
  return true;
}

void DecideRestart(Platform& platform, const char* first_arg) {
  if (first_arg != nullptr) {
    if (std::strcmp(first_arg, "/r") == 0 || std::strcmp(first_arg, "/R") == 0)
      LaunchRestart(platform);
    // "/n" and "/N": no question, no restart.
    return;
  }
  platform.Print(kRestartPrompt);
  int key = platform.ReadKey();
  if (key == 'Y' || key == 'y') LaunchRestart(platform);
}

}  // namespace kestrin
