// Kestrin: sets the four parameters of the ti21sony driver service and, if
// asked, restarts the computer. This header declares the driver parameter
// patch and the restart decision; entry.h ties them to the command line.
#ifndef KESTRIN_KESTRIN_H_
#define KESTRIN_KESTRIN_H_

#include <cstddef>
#include <cstdint>

#include "platform.h"

namespace kestrin {

// The driver's service parameters key under HKEY_LOCAL_MACHINE.
extern const char kDriverParametersKey[];

struct DriverParameter {
  const char* name;
  std::uint32_t data;  // written as REG_DWORD
};

// The values written, in the order they are written.
constexpr std::size_t kDriverParameterCount = 4;
extern const DriverParameter kDriverParameters[kDriverParameterCount];

enum class PatchOutcome { kNotFound, kFault, kOk };

// Opens the driver parameters key, writes every value of kDriverParameters
// (each one attempted even after a failure), closes the key and then reports
// the result on standard output.
PatchOutcome PatchDriverParameters(Platform& platform);

// After a successful patch: restarts on "/r" or "/R", does nothing on "/n" or
// "/N", and with no argument (`first_arg` null) asks at the console.
void DecideRestart(Platform& platform, const char* first_arg);

// Writes the restart command for the system folder `system_dir` into
// `buffer`: the full path of Shutdown.exe in double quotes, then the
// arguments. Returns false, leaving an empty string, if `system_dir` is empty
// or the command does not fit.
bool BuildRestartCommand(const char* system_dir, char* buffer,
                         std::size_t size);

}  // namespace kestrin

#endif  // KESTRIN_KESTRIN_H_
