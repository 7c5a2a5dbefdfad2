// An in-memory Platform for the unit tests: a registry of one key, scripted
// key presses, a recorded launch and captured output, plus one transcript of
// every call in order so that tests can check what happened before what.
#ifndef KESTRIN_FAKE_PLATFORM_H_
#define KESTRIN_FAKE_PLATFORM_H_

#include <cstdint>
#include <cstring>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "platform.h"

namespace kestrin {

struct FakeValue {
  std::string type;  // "REG_DWORD", "REG_SZ", ...
  std::string data;  // raw bytes
  bool operator==(const FakeValue& other) const {
    return type == other.type && data == other.data;
  }
};

inline FakeValue DwordValue(std::uint32_t v) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  return {"REG_DWORD", bytes};
}

class FakePlatform : public Platform {
 public:
  // Registry: the one key the tool may open, and its values.
  std::string existing_key =
      "System\\CurrentControlSet\\Services\\ti21sony\\Parameters\\";
  bool key_exists = true;
  std::map<std::string, FakeValue> values;
  std::vector<std::string> refused_writes;  // value names whose write fails
  bool key_open = false;

  // Console: the keys ReadKey returns, in order; kEndOfInput when empty.
  std::deque<int> keys;

  // Process launch.
  std::string system_dir = "C:\\Windows\\system32";
  std::vector<std::string> launched;

  std::string output;
  std::vector<std::string> transcript;

  void Print(const char* text) override {
    output += text;
    transcript.push_back(std::string("print ") + text);
  }

  long OpenMachineKey(const char* subkey) override {
    transcript.push_back(std::string("open ") + subkey);
    if (!key_exists || existing_key != subkey) return 2;  // ERROR_FILE_NOT_FOUND
    key_open = true;
    return 0;
  }

  long SetDwordValue(const char* name, std::uint32_t data) override {
    transcript.push_back("set " + std::string(name) + " " + std::to_string(data));
    if (!key_open) return 6;  // ERROR_INVALID_HANDLE
    for (const std::string& refused : refused_writes)
      if (refused == name) return 5;  // ERROR_ACCESS_DENIED
    values[name] = DwordValue(data);
    return 0;
  }

  void CloseKey() override {
    transcript.push_back("close");
    key_open = false;
  }

  int ReadKey() override {
    transcript.push_back("read key");
    if (keys.empty()) return kEndOfInput;
    int key = keys.front();
    keys.pop_front();
    return key;
  }

  std::size_t SystemDirectory(char* buffer, std::size_t size) override {
    if (system_dir.empty() || system_dir.size() >= size) return 0;
    std::memcpy(buffer, system_dir.c_str(), system_dir.size() + 1);
    return system_dir.size();
  }

  void Launch(const char* command_line) override {
    transcript.push_back(std::string("launch ") + command_line);
    launched.push_back(command_line);
  }

  bool Touched(const std::string& prefix) const {
    for (const std::string& line : transcript)
      if (line.compare(0, prefix.size(), prefix) == 0) return true;
    return false;
  }
};

}  // namespace kestrin

#endif  // KESTRIN_FAKE_PLATFORM_H_
