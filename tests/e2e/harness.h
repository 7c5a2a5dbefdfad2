// Runs the real Kestrin.exe as a child process sharing this test's console,
// and reads and resets the registry through the API, for the end-to-end
// tests. Wine is the Windows these run on here.
#ifndef KESTRIN_E2E_HARNESS_H_
#define KESTRIN_E2E_HARNESS_H_

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace e2e {

extern const char kServicesKey[];    // HKLM subkey of all services
extern const char kServiceKey[];     // ...\ti21sony
extern const char kParametersKey[];  // ...\ti21sony\Parameters

struct Value {
  DWORD type;
  std::string data;
  bool operator==(const Value& o) const { return type == o.type && data == o.data; }
};
Value Dword(DWORD v);
Value String(const std::string& s);  // REG_SZ with its NUL
Value Binary(const std::string& bytes);
using Values = std::map<std::string, Value>;

// Deletes the driver's service key, then (unless `create` is false) creates
// it with a Parameters key holding `seed`.
void ResetDriverKey(const Values& seed, bool create = true);
void CreateServiceKeyOnly();          // ti21sony without Parameters
bool KeyExists(const char* subkey);
DWORD SubkeyCount(const char* subkey);
Values ReadParameters();              // every value of the Parameters key
// Lets everyone read the Parameters key and nobody write it.
void MakeParametersReadOnly();

// Console input records.
std::vector<INPUT_RECORD> KeyDown(char ch, WORD virtual_key, DWORD state = 0);
std::vector<INPUT_RECORD> KeyUp(char ch, WORD virtual_key, DWORD state = 0);
std::vector<INPUT_RECORD> Press(char ch, WORD virtual_key, DWORD state = 0);
std::vector<INPUT_RECORD> FocusEvent();
std::vector<INPUT_RECORD> Join(std::vector<std::vector<INPUT_RECORD>> parts);

// kConsole: this test's console screen, cleared before the run.
enum class Stdout { kPipe, kFile, kNul, kClosed, kReadOnlyFile, kConsole };

struct Invocation {
  std::string args;                   // command line after the program name
  std::vector<INPUT_RECORD> ahead;    // waiting in the console before start
  std::vector<INPUT_RECORD> answer;   // written once the tool waits for a key
  Stdout out = Stdout::kPipe;
  const char* stdin_text = nullptr;   // standard input from a file with this
  bool no_console = false;            // start it without any console
};

struct Launch {
  std::string program;       // full path of the Shutdown.exe that ran
  std::string command_line;  // as it received it
};

struct Result {
  DWORD exit_code = 0;
  std::string output;                 // standard output, bytes as written
  bool finished = false;              // ended by itself within the time limit
  bool waited_for_answer = false;     // still running when `answer` was sent
  std::vector<Launch> launches;       // one per Shutdown.exe that ran
  long control_events = 0;            // console control events raised
  // With Stdout::kConsole: the screen's text (trailing blanks dropped) when
  // the answer was sent and when the tool had ended, and the cursor then.
  std::string screen_at_question;
  std::string screen_after;
  COORD cursor_after = {0, 0};
};

Result RunKestrin(const Invocation& run);

// The system folder of this prefix, as GetSystemDirectoryA gives it.
std::string SystemDirectory();

// Moves the system's Shutdown.exe aside (`present` false) or back.
bool SetSystemShutdownPresent(bool present);

// Prepares the work folders: a copy of Kestrin.exe in bin\ with a planted
// Shutdown.exe beside it and another in the current folder of every run.
// Returns false with a message if the environment is not set up.
bool SetUp(std::string* error);

}  // namespace e2e

#endif  // KESTRIN_E2E_HARNESS_H_
