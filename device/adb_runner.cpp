#include "device/adb_runner.h"

#include "platform/paths.h"
#include "platform/process_runner.h"

namespace qf::device {

std::string adb_client_path() { return join_path(own_program_dir(), kAdbClientFileName); }

AdbClient default_adb_client() { return AdbClient{adb_client_path()}; }

void run_and_wait(const std::vector<std::string>& command, std::chrono::milliseconds bound) {
  run_process(command, bound, false);
}

std::string run_and_capture(const std::vector<std::string>& command,
                            std::chrono::milliseconds bound) {
  return run_process(command, bound, true).output;
}

std::string adb_command(const AdbClient& client, const std::vector<std::string>& arguments) {
  run_and_wait({client.path, "start-server"}, client.wait_bound);
  std::vector<std::string> command{client.path};
  command.insert(command.end(), arguments.begin(), arguments.end());
  return run_and_capture(command, client.capture_bound);
}

std::string adb_command(const std::vector<std::string>& arguments) {
  return adb_command(default_adb_client(), arguments);
}

void adb_kill_server(const AdbClient& client) {
  run_and_wait({client.path, "kill-server"}, client.wait_bound);
}

void adb_kill_server() { adb_kill_server(default_adb_client()); }

}  // namespace qf::device
