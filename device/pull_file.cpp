#include "device/pull_file.h"

#include "device/answer_lines.h"

#include <filesystem>
#include <system_error>

namespace qf::device {

namespace {

// One permission triplet "rwx": read 4, write 2, execute 1; the execute
// place also carries the set-id or sticky bit ('s'/'t' with execute, 'S'/'T'
// without).
std::optional<unsigned> triplet_bits(std::string_view t, char special_lower, char special_upper,
                                     bool& special) {
  unsigned bits = 0;
  if (t[0] == 'r') bits |= 4; else if (t[0] != '-') return std::nullopt;
  if (t[1] == 'w') bits |= 2; else if (t[1] != '-') return std::nullopt;
  char x = t[2];
  if (x == 'x' || x == special_lower) bits |= 1;
  else if (x != '-' && x != special_upper) return std::nullopt;
  special = x == special_lower || x == special_upper;
  return bits;
}

std::optional<std::string> mode_of_line(std::string_view line) {
  // Type column, then user, group and other triplets.
  if (line.size() < 10 || line[0] != '-') return std::nullopt;
  bool setuid = false, setgid = false, sticky = false;
  auto user = triplet_bits(line.substr(1, 3), 's', 'S', setuid);
  auto group = triplet_bits(line.substr(4, 3), 's', 'S', setgid);
  auto other = triplet_bits(line.substr(7, 3), 't', 'T', sticky);
  if (!user || !group || !other) return std::nullopt;
  // After the ten columns comes a blank, or an ACL/SELinux marker then a blank.
  if (line.size() > 10 && line[10] != ' ' && line[10] != '+' && line[10] != '.' &&
      line[10] != '\r') {
    return std::nullopt;
  }
  unsigned special = (setuid ? 4 : 0) | (setgid ? 2 : 0) | (sticky ? 1 : 0);
  std::string text;
  if (special) text += static_cast<char>('0' + special);
  for (unsigned bits : {*user, *group, *other}) text += static_cast<char>('0' + bits);
  return text;
}

std::vector<std::string> su_command(std::initializer_list<std::string> rest) {
  std::vector<std::string> arguments{"shell", "su", "root"};
  arguments.insert(arguments.end(), rest);
  return arguments;
}

}  // namespace

std::optional<std::string> mode_from_listing(std::string_view listing) {
  while (!listing.empty()) {
    if (auto mode = mode_of_line(take_line(listing))) return mode;
  }
  return std::nullopt;
}

bool pull_confirmed(std::string_view answer) {
  return answer.find(" 1 file pulled") != std::string_view::npos ||
         answer.find(" bytes in ") != std::string_view::npos;
}

bool pull_file(const AdbClient& client, const std::string& remote, const std::string& local) {
  std::optional<std::string> mode =
      mode_from_listing(adb_command(client, su_command({"ls", "-l", remote})));
  if (mode) adb_command(client, su_command({"chmod", "777", remote}));
  const bool confirmed = pull_confirmed(adb_command(client, {"pull", remote, local}));
  // The mode goes back whatever became of the pull.
  if (mode) adb_command(client, su_command({"chmod", *mode, remote}));
  std::error_code ec;
  const std::filesystem::path path = std::filesystem::u8path(local);
  if (!confirmed) std::filesystem::remove(path, ec);
  return confirmed && std::filesystem::is_regular_file(path, ec);
}

}  // namespace qf::device
