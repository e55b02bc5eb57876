#pragma once
// A small HTTP server of the test's own on 127.0.0.1 (a free port chosen by
// the system), serving one canned answer to every request on a thread of
// its own. The answer can be slow, a status other than 200, or cut short
// (the header promises more bytes than are sent before the connection
// closes).
#include <winsock2.h>
#include <ws2tcpip.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qf::test {

struct HttpAnswer {
  int status = 200;
  std::string body;
  unsigned delay_ms = 0;     // before the status line
  std::size_t promised = 0;  // Content-Length when non-zero and above body size
};

class LocalHttpServer {
 public:
  explicit LocalHttpServer(HttpAnswer answer) : answer_(std::move(answer)) {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    listen(listener_, 8);
    int size = sizeof(address);
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { serve(); });
  }
  ~LocalHttpServer() {
    closesocket(listener_);  // ends accept()
    thread_.join();
    WSACleanup();
  }
  unsigned short port() const { return port_; }
  int requests() const { return requests_; }
  std::string last_request() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return last_request_;
  }

 private:
  void serve() {
    while (true) {
      SOCKET client = accept(listener_, nullptr, nullptr);
      if (client == INVALID_SOCKET) return;
      answer(client);
      closesocket(client);
    }
  }
  void answer(SOCKET client) {
    std::string request;
    char buffer[1024];
    while (request.find("\r\n\r\n") == std::string::npos) {
      int got = recv(client, buffer, sizeof(buffer), 0);
      if (got <= 0) return;
      request.append(buffer, got);
    }
    {
      std::lock_guard<std::mutex> lock(mutex_);
      last_request_ = request;
    }
    ++requests_;
    if (answer_.delay_ms) Sleep(answer_.delay_ms);
    std::size_t length = std::max(answer_.promised, answer_.body.size());
    std::string reply = "HTTP/1.1 " + std::to_string(answer_.status) + " Answer\r\nContent-Type: text/xml\r\n" +
                        "Content-Length: " + std::to_string(length) + "\r\nConnection: close\r\n\r\n" + answer_.body;
    send(client, reply.data(), static_cast<int>(reply.size()), 0);
    shutdown(client, SD_SEND);
  }

  HttpAnswer answer_;
  SOCKET listener_ = INVALID_SOCKET;
  unsigned short port_ = 0;
  std::atomic<int> requests_{0};
  mutable std::mutex mutex_;
  std::string last_request_;
  std::thread thread_;
};

// A port on 127.0.0.1 where nothing listens (bound, then released).
inline unsigned short closed_port() {
  LocalHttpServer probe(HttpAnswer{});
  return probe.port();
}

}  // namespace qf::test
