#pragma once
// SHA-256 for the manifest of recovered files: lets a user check each carved
// file against the original. The system's library computes it (OpenSSL's
// libcrypto, or CNG on Windows), with the processor's SHA instructions where
// there are any.
#include <cstddef>
#include <memory>
#include <string>

namespace qf {

struct sha256_context;  // the library's state (sha256_posix.cpp, sha256_win32.cpp)

class Sha256 {
 public:
  Sha256();
  ~Sha256();
  Sha256(const Sha256&) = delete;
  Sha256& operator=(const Sha256&) = delete;
  void update(const void* data, std::size_t length);
  // The digest as 64 lower-case hex digits; the object is spent afterwards.
  std::string hex_digest();

 private:
  std::unique_ptr<sha256_context> context_;
};

// Digest of a whole file (UTF-8 path); empty when it cannot be read.
std::string sha256_of_file(const std::string& path);

// 32 digest bytes as 64 lower-case hex digits.
std::string sha256_hex(const unsigned char* digest);

}  // namespace qf
