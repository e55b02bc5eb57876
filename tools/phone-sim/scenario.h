#pragma once
// What the phone simulator plays, read from its scenario folder:
//
//   devices         the device lines of "devices" ("SERIAL<TAB>state" each);
//                   no file or an empty one: nothing attached
//   no-root         present: the phone has no su
//   hang            a number of seconds: every command writes a server notice,
//                   then sleeps that long (and logs that it woke)
//   flood           a number of bytes written on standard output before each
//                   answer
//   interleave      a number of lines written alternately to standard error
//                   and standard output, each flushed, before each answer
//   slow-pull-ms    a number of milliseconds every pull waits before it
//                   copies (a slow transfer, to interrupt a pull mid-way)
//   phone/...       the phone's files by their remote path
//                   (phone/data/data/com.android.providers.contacts/...)
//   modes           the files' modes on the phone, "MODE REMOTE" a line
//                   (kept up to date by chmod; a file not listed has 660)
//   server-running  present while the simulated ADB server runs
//   commands.log    every command received, its arguments joined by TABs
//
// The folder is $QF_PHONE_SCENARIO when set, else "phone-scenario" beside
// the simulator's executable.
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace qf::phonesim {

struct Scenario {
  std::filesystem::path dir;

  std::filesystem::path file(const std::string& name) const { return dir / name; }
  bool has(const std::string& name) const;
  std::string text(const std::string& name) const;  // "" when missing
  long number(const std::string& name) const;       // 0 when missing
  std::vector<std::string> device_lines() const;

  // Where a remote path's file lies in the folder.
  std::filesystem::path phone_file(const std::string& remote) const;
  std::map<std::string, std::string> modes() const;
  void save_modes(const std::map<std::string, std::string>& modes) const;

  void log(const std::vector<std::string>& arguments) const;
  void append(const std::string& name, const std::string& text) const;
};

Scenario find_scenario();

}  // namespace qf::phonesim
