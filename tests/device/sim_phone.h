#pragma once
// A phone played by the simulator (tools/phone-sim) from a fresh scenario
// folder, which the simulator finds through $QF_PHONE_SCENARIO for as long as
// the object lives.
#include <chrono>
#include <string>
#include <vector>

#include "device/adb_runner.h"
#include "tests/support/temp_dir.h"

namespace qf::test {

class SimPhone {
 public:
  SimPhone();
  ~SimPhone();

  // Writes a scenario file ("devices", "hang", "flood", "no-root", ...).
  void set(const std::string& name, const std::string& content) const;
  void attach(const std::string& state) const { set("devices", "0123456789ABCDEF\t" + state + "\n"); }
  // A file on the phone at its remote path.
  void put_phone_file(const std::string& remote, const std::string& bytes) const;
  // The file's mode on the phone as the simulator keeps it ("660" when unset).
  std::string phone_mode(const std::string& remote) const;
  // Every command the simulator received, split into its arguments.
  std::vector<std::vector<std::string>> commands() const;
  std::string log_text() const;

  // The simulator with short bounds (tests that need the real ones say so).
  device::AdbClient client(std::chrono::milliseconds wait = std::chrono::milliseconds(3000),
                           std::chrono::milliseconds capture = std::chrono::milliseconds(5000)) const;
  static std::string program();

 private:
  TempDir dir_{"qf-phone"};
};

std::string read_file(const std::string& utf8_path);
bool file_exists(const std::string& utf8_path);

}  // namespace qf::test
