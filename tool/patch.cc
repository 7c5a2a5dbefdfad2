#include "kestrin.h"

namespace kestrin {

const char kDriverParametersKey[] =
    "System\\CurrentControlSet\\Services\\ti21sony\\Parameters\\";

const DriverParameter kDriverParameters[kDriverParameterCount] = {
    {"UseSWMG", 1},
    {"MSSlotOnly", 0},
    {"UseOneLED", 1},
    {"UseMFUNC", 0x20},
};

PatchOutcome PatchDriverParameters(Platform& platform) {
  if (platform.OpenMachineKey(kDriverParametersKey) != 0) {
    platform.Print("Driver information not found.\n");
    return PatchOutcome::kNotFound;
  }
  platform.Print("Found driver information.\n");

  // No rollback and no early stop: every value gets its write, and one
  // refused write does not undo the others.
  bool all_written = true;
  for (const DriverParameter& parameter : kDriverParameters) {
    if (platform.SetDwordValue(parameter.name, parameter.data) != 0)
      all_written = false;
  }
  // The key is closed before anything about the writes is reported.
  platform.CloseKey();

  if (!all_written) {
    platform.Print("Set value fault!\n");
    return PatchOutcome::kFault;
  }
  platform.Print("Set values OK.\n");
  return PatchOutcome::kOk;
}

}  // namespace kestrin
