#include "harness.h"

#include <sddl.h>

#include <cstdio>
#include <cstring>

namespace e2e {

const char kServicesKey[] = "System\\CurrentControlSet\\Services";
const char kServiceKey[] = "System\\CurrentControlSet\\Services\\ti21sony";
const char kParametersKey[] =
    "System\\CurrentControlSet\\Services\\ti21sony\\Parameters";

namespace {

std::string g_work;       // work folder, ends in a backslash
std::string g_kestrin;    // the copy of Kestrin.exe that runs
std::string g_cwd;        // current folder of every run
std::string g_log;        // launch log that the recorder appends to
HANDLE g_console = INVALID_HANDLE_VALUE;

const DWORD kRunTimeoutMs = 15000;

std::string EnvOrEmpty(const char* name) {
  char buffer[MAX_PATH];
  DWORD n = GetEnvironmentVariableA(name, buffer, sizeof buffer);
  return (n == 0 || n >= sizeof buffer) ? std::string() : std::string(buffer, n);
}

std::string ReadWholeFile(const std::string& path) {
  std::string data;
  HANDLE f = CreateFileA(path.c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return data;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(f, buffer, sizeof buffer, &got, nullptr) && got > 0)
    data.append(buffer, got);
  CloseHandle(f);
  return data;
}

bool WriteWholeFile(const std::string& path, const std::string& data) {
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr,
                         CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(f, data.data(), static_cast<DWORD>(data.size()), &written,
                      nullptr);
  CloseHandle(f);
  return ok && written == data.size();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

// Replaces the DACL of `subkey` with the one given in SDDL.
void SetKeyDacl(const char* subkey, const char* sddl) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey, 0, WRITE_DAC, &key) != 0) return;
  PSECURITY_DESCRIPTOR sd = nullptr;
  if (ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1,
                                                           &sd, nullptr)) {
    RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, sd);
    LocalFree(sd);
  }
  RegCloseKey(key);
}

// Waits until every process of `job` (the tool and whatever it launched)
// has ended, so that a launched recorder has written its line.
void WaitForJob(HANDLE job, DWORD timeout_ms) {
  DWORD waited = 0;
  for (;;) {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info = {};
    if (!QueryInformationJobObject(job, JobObjectBasicAccountingInformation,
                                   &info, sizeof info, nullptr) ||
        info.ActiveProcesses == 0 || waited >= timeout_ms)
      return;
    Sleep(20);
    waited += 20;
  }
}

// The console screen; `security` makes the handle inheritable, or not.
HANDLE OpenScreen(SECURITY_ATTRIBUTES* security = nullptr) {
  return CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE,
                     FILE_SHARE_READ | FILE_SHARE_WRITE, security, OPEN_EXISTING,
                     0, nullptr);
}

void ClearScreen() {
  HANDLE screen = OpenScreen();
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (GetConsoleScreenBufferInfo(screen, &info) != FALSE) {
    DWORD written = 0;
    FillConsoleOutputCharacterA(screen, ' ', info.dwSize.X * info.dwSize.Y,
                                COORD{0, 0}, &written);
    SetConsoleCursorPosition(screen, COORD{0, 0});
  }
  CloseHandle(screen);
}

// The screen's lines up to the cursor's, trailing blanks dropped.
std::string ScreenText(COORD* cursor) {
  std::string text;
  HANDLE screen = OpenScreen();
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (GetConsoleScreenBufferInfo(screen, &info) != FALSE) {
    if (cursor != nullptr) *cursor = info.dwCursorPosition;
    std::vector<char> row(info.dwSize.X);
    for (SHORT y = 0; y <= info.dwCursorPosition.Y; ++y) {
      DWORD got = 0;
      ReadConsoleOutputCharacterA(screen, row.data(), info.dwSize.X,
                                  COORD{0, y}, &got);
      std::string line(row.data(), got);
      line.erase(line.find_last_not_of(' ') + 1);
      if (y > 0) text += '\n';
      text += line;
    }
  }
  CloseHandle(screen);
  return text;
}

}  // namespace

Value Dword(DWORD v) {
  return {REG_DWORD, std::string(reinterpret_cast<const char*>(&v), sizeof v)};
}

Value String(const std::string& s) {
  return {REG_SZ, std::string(s.c_str(), s.size() + 1)};
}

Value Binary(const std::string& bytes) { return {REG_BINARY, bytes}; }

bool SetSystemShutdownPresent(bool present) {
  std::string real = SystemDirectory() + "\\shutdown.exe";
  std::string aside = g_work + "shutdown.exe.aside";
  return present ? MoveFileA(aside.c_str(), real.c_str()) != FALSE
                 : MoveFileA(real.c_str(), aside.c_str()) != FALSE;
}

void ResetDriverKey(const Values& seed, bool create) {
  SetKeyDacl(kParametersKey, "D:(A;;KA;;;WD)");  // undo MakeParametersReadOnly
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, kServiceKey);
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, kServiceKey);
  if (!create) return;
  HKEY key;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kParametersKey, 0, nullptr, 0,
                      KEY_ALL_ACCESS, nullptr, &key, nullptr) != 0)
    return;
  for (const auto& entry : seed) {
    RegSetValueExA(key, entry.first.c_str(), 0, entry.second.type,
                   reinterpret_cast<const BYTE*>(entry.second.data.data()),
                   static_cast<DWORD>(entry.second.data.size()));
  }
  RegCloseKey(key);
}

void CreateServiceKeyOnly() {
  ResetDriverKey({}, false);
  HKEY key;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kServiceKey, 0, nullptr, 0,
                      KEY_ALL_ACCESS, nullptr, &key, nullptr) == 0)
    RegCloseKey(key);
}

bool KeyExists(const char* subkey) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey, 0, KEY_READ, &key) != 0)
    return false;
  RegCloseKey(key);
  return true;
}

DWORD SubkeyCount(const char* subkey) {
  HKEY key;
  DWORD count = 0;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey, 0, KEY_READ, &key) != 0)
    return 0;
  RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &count, nullptr, nullptr,
                   nullptr, nullptr, nullptr, nullptr, nullptr);
  RegCloseKey(key);
  return count;
}

Values ReadParameters() {
  Values values;
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kParametersKey, 0, KEY_READ, &key) != 0)
    return values;
  for (DWORD i = 0;; ++i) {
    char name[256];
    DWORD name_size = sizeof name;
    BYTE data[1024];
    DWORD data_size = sizeof data;
    DWORD type = 0;
    if (RegEnumValueA(key, i, name, &name_size, nullptr, &type, data,
                      &data_size) != 0)
      break;
    values[std::string(name, name_size)] = {
        type, std::string(reinterpret_cast<const char*>(data), data_size)};
  }
  RegCloseKey(key);
  return values;
}

void MakeParametersReadOnly() {
  // Protected DACL: everyone may read, nobody may set values.
  SetKeyDacl(kParametersKey, "D:P(A;;KR;;;WD)");
}

std::vector<INPUT_RECORD> KeyUp(char ch, WORD virtual_key, DWORD state) {
  INPUT_RECORD up = {};
  up.EventType = KEY_EVENT;
  up.Event.KeyEvent.bKeyDown = FALSE;
  up.Event.KeyEvent.wRepeatCount = 1;
  up.Event.KeyEvent.wVirtualKeyCode = virtual_key;
  up.Event.KeyEvent.uChar.AsciiChar = ch;
  up.Event.KeyEvent.dwControlKeyState = state;
  return {up};
}

std::vector<INPUT_RECORD> KeyDown(char ch, WORD virtual_key, DWORD state) {
  std::vector<INPUT_RECORD> records = KeyUp(ch, virtual_key, state);
  records[0].Event.KeyEvent.bKeyDown = TRUE;
  return records;
}

std::vector<INPUT_RECORD> Press(char ch, WORD virtual_key, DWORD state) {
  return Join({KeyDown(ch, virtual_key, state), KeyUp(ch, virtual_key, state)});
}

std::vector<INPUT_RECORD> FocusEvent() {
  INPUT_RECORD focus = {};
  focus.EventType = FOCUS_EVENT;
  focus.Event.FocusEvent.bSetFocus = TRUE;
  return {focus};
}

std::vector<INPUT_RECORD> Join(std::vector<std::vector<INPUT_RECORD>> parts) {
  std::vector<INPUT_RECORD> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

std::string SystemDirectory() {
  char dir[MAX_PATH];
  UINT n = GetSystemDirectoryA(dir, sizeof dir);
  return std::string(dir, n);
}

// Ctrl+C records are put into the shared console by some tests. Were the
// tool to leave Ctrl+C processing on, the console would send a control event
// to every process on it; this one must survive that to report the failure.
// Handler routines are not inherited, so the tool keeps the default one.
// The count of control events seen tells the tests whether a key they sent
// interrupted the processes on the console.
volatile LONG g_control_events = 0;

BOOL WINAPI SurviveControlEvents(DWORD) {
  InterlockedIncrement(&g_control_events);
  return TRUE;
}

bool SetUp(std::string* error) {
  SetConsoleCtrlHandler(SurviveControlEvents, TRUE);
  std::string kestrin = EnvOrEmpty("KESTRIN_EXE");
  std::string recorder = EnvOrEmpty("KESTRIN_RECORDER_EXE");
  if (kestrin.empty() || recorder.empty()) {
    *error = "KESTRIN_EXE and KESTRIN_RECORDER_EXE must name the programs";
    return false;
  }
  char temp[MAX_PATH];
  DWORD n = GetTempPathA(sizeof temp, temp);
  if (n == 0 || n >= sizeof temp) {
    *error = "no temporary folder";
    return false;
  }
  g_work = std::string(temp) + "kestrin-e2e\\";
  CreateDirectoryA(g_work.c_str(), nullptr);
  CreateDirectoryA((g_work + "bin").c_str(), nullptr);
  CreateDirectoryA((g_work + "cwd").c_str(), nullptr);
  g_kestrin = g_work + "bin\\Kestrin.exe";
  g_cwd = g_work + "cwd";
  g_log = g_work + "launches.log";
  // A Shutdown.exe planted beside the tool and in its current folder: the
  // tool must never run either of them.
  if (!CopyFileA(kestrin.c_str(), g_kestrin.c_str(), FALSE) ||
      !CopyFileA(recorder.c_str(), (g_work + "bin\\Shutdown.exe").c_str(), FALSE) ||
      !CopyFileA(recorder.c_str(), (g_cwd + "\\Shutdown.exe").c_str(), FALSE)) {
    *error = "cannot prepare " + g_work;
    return false;
  }
  SetEnvironmentVariableA("KESTRIN_LAUNCH_LOG", g_log.c_str());
  // A one-letter file in the root of the current drive: were "/?" expanded
  // as a wildcard, it would turn into "/n".
  WriteWholeFile(g_cwd.substr(0, 2) + "\\n", "");

  g_console = CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, 0, nullptr);
  if (g_console == INVALID_HANDLE_VALUE) {
    *error = "no console: run the tests under a terminal";
    return false;
  }
  return true;
}

Result RunKestrin(const Invocation& run) {
  Result result;
  LONG control_events_before = g_control_events;
  DeleteFileA(g_log.c_str());
  FlushConsoleInputBuffer(g_console);
  // With an answer to send, a focus event after the keys typed ahead marks
  // when the tool has taken them all (see below).
  std::vector<INPUT_RECORD> ahead =
      run.answer.empty() ? run.ahead : Join({run.ahead, FocusEvent()});
  if (!ahead.empty()) {
    DWORD written = 0;
    WriteConsoleInputA(g_console, ahead.data(), static_cast<DWORD>(ahead.size()),
                       &written);
  }

  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE out_read = nullptr, out_write = nullptr;
  std::string out_file = g_work + "stdout.txt";
  DeleteFileA(out_file.c_str());
  switch (run.out) {
    case Stdout::kPipe:
      CreatePipe(&out_read, &out_write, &inherit, 1 << 16);
      SetHandleInformation(out_read, HANDLE_FLAG_INHERIT, 0);
      break;
    case Stdout::kFile:
      out_write = CreateFileA(out_file.c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                              &inherit, CREATE_ALWAYS, 0, nullptr);
      break;
    case Stdout::kNul:
      out_write = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit,
                              OPEN_EXISTING, 0, nullptr);
      break;
    case Stdout::kClosed:
      out_write = nullptr;
      break;
    case Stdout::kConsole:
      ClearScreen();
      out_write = OpenScreen(&inherit);
      break;
    case Stdout::kReadOnlyFile:
      WriteWholeFile(out_file, "");
      out_write = CreateFileA(out_file.c_str(), GENERIC_READ, FILE_SHARE_READ,
                              &inherit, OPEN_EXISTING, 0, nullptr);
      break;
  }

  HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
  HANDLE in_file = nullptr;
  if (run.stdin_text != nullptr) {
    std::string in_path = g_work + "stdin.txt";
    WriteWholeFile(in_path, run.stdin_text);
    in_file = CreateFileA(in_path.c_str(), GENERIC_READ, FILE_SHARE_READ,
                          &inherit, OPEN_EXISTING, 0, nullptr);
    in = in_file;
  }

  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = run.no_console ? nullptr : in;
  startup.hStdOutput = out_write;
  startup.hStdError = out_write;
  std::string command = "\"" + g_kestrin + "\"" +
                        (run.args.empty() ? "" : " " + run.args);
  std::vector<char> command_buffer(command.begin(), command.end());
  command_buffer.push_back('\0');

  HANDLE job = CreateJobObjectA(nullptr, nullptr);
  PROCESS_INFORMATION process = {};
  DWORD flags = CREATE_SUSPENDED | (run.no_console ? DETACHED_PROCESS : 0);
  BOOL started = CreateProcessA(g_kestrin.c_str(), command_buffer.data(),
                                nullptr, nullptr, TRUE, flags, nullptr,
                                g_cwd.c_str(), &startup, &process);
  if (out_write != nullptr) CloseHandle(out_write);
  if (in_file != nullptr) CloseHandle(in_file);
  if (!started) {
    if (out_read != nullptr) CloseHandle(out_read);
    CloseHandle(job);
    result.output = "<CreateProcess failed>";
    return result;
  }
  AssignProcessToJobObject(job, process.hProcess);
  ResumeThread(process.hThread);

  if (!run.answer.empty()) {
    // The tool is at the question once it has taken every record waiting in
    // the console input, including the focus event put there before it
    // started, which it skips. Then answer.
    for (DWORD waited = 0; waited < kRunTimeoutMs; waited += 10) {
      if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) break;
      DWORD pending = 0;
      if (GetNumberOfConsoleInputEvents(g_console, &pending) && pending == 0)
        break;
      Sleep(10);
    }
    result.waited_for_answer =
        WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT;
    if (run.out == Stdout::kConsole) result.screen_at_question = ScreenText(nullptr);
    DWORD written = 0;
    WriteConsoleInputA(g_console, run.answer.data(),
                       static_cast<DWORD>(run.answer.size()), &written);
  }

  result.finished =
      WaitForSingleObject(process.hProcess, kRunTimeoutMs) == WAIT_OBJECT_0;
  if (!result.finished) TerminateProcess(process.hProcess, 0xDEAD);
  WaitForSingleObject(process.hProcess, INFINITE);
  GetExitCodeProcess(process.hProcess, &result.exit_code);
  WaitForJob(job, 5000);
  // A control event reaches this process on a thread of its own, a moment
  // after the key was written; give it that moment where one could arise.
  bool sent_ctrl_c = false;
  for (const INPUT_RECORD& record : Join({run.ahead, run.answer}))
    if (record.EventType == KEY_EVENT && record.Event.KeyEvent.uChar.AsciiChar == 3)
      sent_ctrl_c = true;
  for (int i = 0; sent_ctrl_c && i < 25 && g_control_events == control_events_before; ++i)
    Sleep(20);
  result.control_events = g_control_events - control_events_before;

  if (out_read != nullptr) {
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(out_read, buffer, sizeof buffer, &got, nullptr) && got > 0)
      result.output.append(buffer, got);
    CloseHandle(out_read);
  } else if (run.out == Stdout::kFile || run.out == Stdout::kReadOnlyFile) {
    result.output = ReadWholeFile(out_file);
  } else if (run.out == Stdout::kConsole) {
    result.screen_after = ScreenText(&result.cursor_after);
  }
  for (const std::string& line : Lines(ReadWholeFile(g_log))) {
    size_t bar = line.find('|');
    result.launches.push_back({line.substr(0, bar), bar == std::string::npos
                                                         ? std::string()
                                                         : line.substr(bar + 1)});
  }

  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  CloseHandle(job);
  FlushConsoleInputBuffer(g_console);
  return result;
}

}  // namespace e2e
