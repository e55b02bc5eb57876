#include "ui/update_server.h"

#include <mutex>

namespace qf::ui {

namespace {

std::mutex server_mutex;

UpdateServer& current_server() {
  static UpdateServer server;
  return server;
}

}  // namespace

UpdateServer update_server() {
  std::lock_guard<std::mutex> lock(server_mutex);
  return current_server();
}

void use_update_server_for_tests(const UpdateServer& server) {
  std::lock_guard<std::mutex> lock(server_mutex);
  current_server() = server;
}

}  // namespace qf::ui
