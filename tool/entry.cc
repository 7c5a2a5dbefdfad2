#include "entry.h"

#include <cstring>

#include "kestrin.h"
#include "version.h"

namespace kestrin {

const char kCopyrightLine[] = KESTRIN_COPYRIGHT "\n";

namespace {

const char kProductLine[] =
    "Vaskori Kestrin_C0 utility , Version 0.10 <2006/10/16>\n\n";

enum class Option { kHelp, kPatch };

struct OptionEntry {
  const char* text;
  Option option;
};

// Matched whole and case-sensitively: the upper-case forms are accepted
// because they are listed here, not because case is ignored.
const OptionEntry kOptions[] = {
    {"/h", Option::kHelp},  {"/H", Option::kHelp},  {"/?", Option::kHelp},
    {"/r", Option::kPatch}, {"/R", Option::kPatch}, {"/n", Option::kPatch},
    {"/N", Option::kPatch},
};

const OptionEntry* FindOption(const char* arg) {
  for (const OptionEntry& entry : kOptions) {
    if (std::strcmp(arg, entry.text) == 0) return &entry;
  }
  return nullptr;
}

}  // namespace

void PrintUsage(Platform& platform) {
  platform.Print("Kestrin.exe Command option:\n");
  platform.Print("    /h or /? : show this help\n");
  platform.Print("    /r : reboot system after set values successful\n");
  platform.Print("    /n : do not reboot system after set values successful\n");
}

int Run(int argc, const char* const* argv, Platform& platform) {
  platform.Print(kCopyrightLine);
  platform.Print(kProductLine);

  const char* first_arg = (argc > 1 && argv != nullptr) ? argv[1] : nullptr;
  if (first_arg != nullptr) {
    const OptionEntry* entry = FindOption(first_arg);
    if (entry == nullptr) {
      PrintUsage(platform);
      return kExitBadOption;
    }
    if (entry->option == Option::kHelp) {
      PrintUsage(platform);
      return kExitOk;
    }
  }

  if (PatchDriverParameters(platform) != PatchOutcome::kOk)
    return kExitPatchFailed;
  DecideRestart(platform, first_arg);
  return kExitOk;
}

}  // namespace kestrin
