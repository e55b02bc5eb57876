// phone-sim: a stand-in for the ADB client, for tests and the demo. It answers
// the commands the program sends ("start-server", "kill-server", "devices",
// "shell su root ls -l|chmod ...", "pull REMOTE LOCAL") with the texts a real
// client prints, from the scenario folder described in scenario.h, and logs
// every command it receives there.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "tools/phone-sim/scenario.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include "platform/utf_win32.h"
#endif

namespace qf::phonesim {

namespace {

namespace fs = std::filesystem;
using Args = std::vector<std::string>;

void out(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
}

void err(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
}

// The notice a real client prints (on standard error) when it had to start
// the server first.
void ensure_server(const Scenario& s) {
  if (s.has("server-running")) return;
  err("* daemon not running; starting now at tcp:5037\n* daemon started successfully\n");
  s.append("server-running", "");
}

void play_noise(const Scenario& s) {
  if (long lines = s.number("interleave"); lines > 0) {
    for (long i = 0; i < lines; ++i) {
      (i % 2 ? out : err)((i % 2 ? "out " : "err ") + std::to_string(i) + "\n");
    }
  }
  if (long bytes = s.number("flood"); bytes > 0) {
    const std::string line = "flood 0123456789abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJKLM\n";
    std::string block;
    while (block.size() < static_cast<std::size_t>(bytes)) block += line;
    block.resize(static_cast<std::size_t>(bytes));
    out(block);
  }
}

int devices(const Scenario& s) {
  ensure_server(s);
  std::string answer = "List of devices attached\n";
  for (const std::string& line : s.device_lines()) answer += line + "\n";
  out(answer + "\n");
  return 0;
}

// What a command for the phone itself meets: the one attached phone must be
// ready, as a real client demands when no serial is given.
bool phone_reachable(const Scenario& s) {
  ensure_server(s);
  auto lines = s.device_lines();
  if (lines.empty()) return err("adb: no devices/emulators found\n"), false;
  if (lines.size() > 1) return err("adb: more than one device/emulator\n"), false;
  const std::string state = lines[0].substr(lines[0].find('\t') + 1);
  if (state == "device") return true;
  if (state == "unauthorized") {
    err("adb: device unauthorized.\nThis adb server's $ADB_VENDOR_KEYS is not set\n"
        "Try 'adb kill-server' if that seems wrong.\n"
        "Otherwise check for a confirmation dialog on your device.\n");
  } else if (state.rfind("no permissions", 0) == 0) {
    err("adb: insufficient permissions for device\n");
  } else {
    err("adb: device " + state + "\n");
  }
  return false;
}

bool exists_on_phone(const Scenario& s, const std::string& remote) {
  std::error_code ec;
  return fs::is_regular_file(s.phone_file(remote), ec);
}

std::string mode_of(const Scenario& s, const std::string& remote) {
  auto modes = s.modes();
  auto it = modes.find(remote);
  return it == modes.end() ? "660" : it->second;
}

std::string symbolic_mode(const std::string& octal) {
  unsigned m = std::stoul(octal, nullptr, 8);
  std::string text = "-";
  const char* letters = "rwx";
  for (int shift = 8; shift >= 0; --shift) text += (m >> shift) & 1 ? letters[(8 - shift) % 3] : '-';
  if (m & 04000) text[3] = text[3] == 'x' ? 's' : 'S';
  if (m & 02000) text[6] = text[6] == 'x' ? 's' : 'S';
  if (m & 01000) text[9] = text[9] == 'x' ? 't' : 'T';
  return text;
}

int ls(const Scenario& s, const Args& a) {
  const std::string& remote = a.back();
  if (!exists_on_phone(s, remote)) return out("ls: " + remote + ": No such file or directory\n"), 1;
  std::error_code ec;
  auto size = fs::file_size(s.phone_file(remote), ec);
  out(symbolic_mode(mode_of(s, remote)) + " 1 u0_a2 u0_a2 " + std::to_string(size) +
      " 2026-12-01 09:30 " + remote + "\n");
  return 0;
}

int chmod(const Scenario& s, const Args& a) {
  const std::string& mode = a[0];
  const std::string& remote = a[1];
  if (mode.empty() || mode.find_first_not_of("01234567") != std::string::npos || mode.size() > 4) {
    return out("chmod: invalid mode '" + mode + "'\n"), 1;
  }
  if (!exists_on_phone(s, remote)) return out("chmod: " + remote + ": No such file or directory\n"), 1;
  auto modes = s.modes();
  modes[remote] = mode;
  s.save_modes(modes);
  return 0;
}

// "shell su root CMD ARGS...": what the phone's su runs as root.
int shell(const Scenario& s, const Args& a) {
  if (!phone_reachable(s)) return 1;
  if (a.size() < 3 || a[0] != "su") return out("/system/bin/sh: " + (a.empty() ? "" : a[0]) + ": inaccessible or not found\n"), 127;
  if (s.has("no-root")) return out("/system/bin/sh: su: not found\n"), 127;
  const std::string& cmd = a[2];
  Args rest(a.begin() + 3, a.end());
  if (cmd == "ls" && !rest.empty()) return ls(s, rest);
  if (cmd == "chmod" && rest.size() == 2) return chmod(s, rest);
  return out("/system/bin/sh: " + cmd + ": inaccessible or not found\n"), 127;
}

// The shell user reads a file of another app only through its "other" bits.
bool readable_by_shell(const Scenario& s, const std::string& remote) {
  return std::stoul(mode_of(s, remote), nullptr, 8) & 04;
}

int pull(const Scenario& s, const Args& a) {
  if (a.size() != 2) return err("adb: usage: adb pull REMOTE LOCAL\n"), 1;
  if (!phone_reachable(s)) return 1;
  const std::string &remote = a[0], &local = a[1];
  if (!exists_on_phone(s, remote)) {
    return err("adb: error: failed to stat remote object '" + remote + "': No such file or directory\n"), 1;
  }
  if (s.has("no-root") || !readable_by_shell(s, remote)) {
    return err("adb: error: failed to copy '" + remote + "' to '" + local +
               "': remote open failed: Permission denied\n"), 1;
  }
  // A slow transfer, so a test can interrupt the tool in the middle of it.
  if (long ms = s.number("slow-pull-ms"); ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  std::error_code ec;
  fs::remove(fs::u8path(local), ec);  // a real client replaces the file
  fs::copy_file(s.phone_file(remote), fs::u8path(local), ec);
  if (ec) return err("adb: error: cannot create '" + local + "': " + ec.message() + "\n"), 1;
  auto size = fs::file_size(fs::u8path(local), ec);
  out(remote + ": 1 file pulled, 0 skipped. 4.2 MB/s (" + std::to_string(size) +
      " bytes in 0.003s)\n");
  return 0;
}

void hang(const Scenario& s) {
  long seconds = s.number("hang");
  err("* daemon not running; starting now at tcp:5037\n");
  std::this_thread::sleep_for(std::chrono::seconds(seconds));
  s.append("commands.log", "woke after " + std::to_string(seconds) + " s\n");
}

int run(const Args& args) {
  const Scenario s = find_scenario();
  s.log(args);
  if (s.has("hang")) return hang(s), 0;
  if (args.empty()) return err("adb: no command given\n"), 1;
  const std::string& command = args[0];
  const Args rest(args.begin() + 1, args.end());
  if (command == "start-server") return ensure_server(s), 0;
  if (command == "kill-server") {
    std::error_code ec;
    fs::remove(s.file("server-running"), ec);
    return 0;
  }
  play_noise(s);
  if (command == "devices") return devices(s);
  if (command == "shell") return shell(s, rest);
  if (command == "pull") return pull(s, rest);
  return err("adb: unknown command " + command + "\n"), 1;
}

}  // namespace

}  // namespace qf::phonesim

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
  // Bytes go out exactly as written: no "\n" to "\r\n" translation.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(qf::narrow(argv[i]));
  return qf::phonesim::run(args);
}
#else
int main(int argc, char** argv) { return qf::phonesim::run(std::vector<std::string>(argv + 1, argv + argc)); }
#endif
