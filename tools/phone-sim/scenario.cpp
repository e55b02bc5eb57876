#include "tools/phone-sim/scenario.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/process_runner.h"

namespace qf::phonesim {

namespace fs = std::filesystem;

bool Scenario::has(const std::string& name) const {
  std::error_code ec;
  return fs::exists(file(name), ec);
}

std::string Scenario::text(const std::string& name) const {
  std::ifstream in(file(name), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

long Scenario::number(const std::string& name) const {
  return std::strtol(text(name).c_str(), nullptr, 10);
}

std::vector<std::string> Scenario::device_lines() const {
  std::vector<std::string> lines;
  std::istringstream in(text("devices"));
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

fs::path Scenario::phone_file(const std::string& remote) const {
  std::string relative = remote;
  while (!relative.empty() && relative.front() == '/') relative.erase(0, 1);
  return dir / "phone" / fs::u8path(relative);
}

std::map<std::string, std::string> Scenario::modes() const {
  std::map<std::string, std::string> modes;
  std::istringstream in(text("modes"));
  std::string mode, remote;
  while (in >> mode >> remote) modes[remote] = mode;
  return modes;
}

void Scenario::save_modes(const std::map<std::string, std::string>& modes) const {
  std::ofstream out(file("modes"), std::ios::binary | std::ios::trunc);
  for (const auto& [remote, mode] : modes) out << mode << ' ' << remote << '\n';
}

void Scenario::append(const std::string& name, const std::string& text) const {
  std::ofstream out(file(name), std::ios::binary | std::ios::app);
  out << text;
}

void Scenario::log(const std::vector<std::string>& arguments) const {
  std::string line;
  for (std::size_t i = 0; i < arguments.size(); ++i) line += (i ? "\t" : "") + arguments[i];
  append("commands.log", line + "\n");
}

Scenario find_scenario() {
  if (const char* dir = std::getenv("QF_PHONE_SCENARIO"); dir && *dir) {
    return Scenario{fs::u8path(dir)};
  }
  return Scenario{fs::u8path(own_program_dir()) / "phone-scenario"};
}

}  // namespace qf::phonesim
