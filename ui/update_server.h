#pragma once
// Where both update checks fetch their document: the maker's update host,
// plain HTTP. Tests point the checks at a server of their own on 127.0.0.1
// with a short wait; the program never changes it.
#include <string>

namespace qf::ui {

constexpr wchar_t kUpdateDocumentPath[] = L"/win-update.xml";

struct UpdateServer {
  std::wstring host = L"www.tarnwick.com";
  unsigned short port = 80;
  // Longest wait for each of resolving, connecting, sending and each answer.
  unsigned timeout_ms = 15000;
};

// The server the checks use (the maker's unless a test replaced it).
UpdateServer update_server();
void use_update_server_for_tests(const UpdateServer& server);

}  // namespace qf::ui
