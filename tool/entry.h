// The run of the tool from banner to exit code.
#ifndef KESTRIN_ENTRY_H_
#define KESTRIN_ENTRY_H_

#include "platform.h"

namespace kestrin {

// Exit codes that deployment scripts read.
enum ExitCode {
  kExitOk = 0,          // help shown, or the values were set
  kExitPatchFailed = 1, // driver key not found, or a value write failed
  kExitBadOption = 2,   // first argument is not an option; usage shown
};

// The copyright line of the banner; the version resource repeats it.
extern const char kCopyrightLine[];

void PrintUsage(Platform& platform);

// Runs the tool for the arguments as main() receives them and returns the
// process exit code. Only argv[1] counts.
int Run(int argc, const char* const* argv, Platform& platform);

}  // namespace kestrin

#endif  // KESTRIN_ENTRY_H_
