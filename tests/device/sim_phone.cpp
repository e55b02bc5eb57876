#include "tests/device/sim_phone.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include "tests/support/test_paths.h"

namespace qf::test {

namespace fs = std::filesystem;

namespace {

void set_scenario_variable(const std::string& value) {
#ifdef _WIN32
  _putenv_s("QF_PHONE_SCENARIO", value.c_str());
#else
  if (value.empty()) unsetenv("QF_PHONE_SCENARIO"); else setenv("QF_PHONE_SCENARIO", value.c_str(), 1);
#endif
}

}  // namespace

std::string read_file(const std::string& utf8_path) {
  std::ifstream in(fs::u8path(utf8_path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool file_exists(const std::string& utf8_path) {
  std::error_code ec;
  return fs::is_regular_file(fs::u8path(utf8_path), ec);
}

SimPhone::SimPhone() { set_scenario_variable(dir_.path().u8string()); }

SimPhone::~SimPhone() { set_scenario_variable(""); }

void SimPhone::set(const std::string& name, const std::string& content) const {
  std::ofstream(dir_.path() / name, std::ios::binary) << content;
}

void SimPhone::put_phone_file(const std::string& remote, const std::string& bytes) const {
  fs::path file = dir_.path() / "phone" / fs::u8path(remote.substr(1));
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << bytes;
}

std::string SimPhone::phone_mode(const std::string& remote) const {
  std::istringstream in(read_file(dir_.file("modes")));
  std::map<std::string, std::string> modes;
  for (std::string mode, path; in >> mode >> path;) modes[path] = mode;
  return modes.count(remote) ? modes[remote] : "660";
}

std::string SimPhone::log_text() const { return read_file(dir_.file("commands.log")); }

std::vector<std::vector<std::string>> SimPhone::commands() const {
  std::vector<std::vector<std::string>> commands;
  std::istringstream in(log_text());
  for (std::string line; std::getline(in, line);) {
    std::vector<std::string> args;
    std::istringstream fields(line);
    for (std::string a; std::getline(fields, a, '\t');) args.push_back(a);
    commands.push_back(args);
  }
  return commands;
}

device::AdbClient SimPhone::client(std::chrono::milliseconds wait,
                                   std::chrono::milliseconds capture) const {
  return device::AdbClient{program(), wait, capture};
}

std::string SimPhone::program() { return built_program("tools/phone-sim/phone-sim"); }

}  // namespace qf::test
