// SHA-256 through the system's CNG (BCrypt).
#include <windows.h>
#include <bcrypt.h>

#include <new>

#include "carve/sha256.h"

namespace qf {

struct sha256_context {
  BCRYPT_ALG_HANDLE algorithm = nullptr;
  BCRYPT_HASH_HANDLE hash = nullptr;
};

Sha256::Sha256() : context_(new sha256_context) {
  if (BCryptOpenAlgorithmProvider(&context_->algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0) != 0 ||
      BCryptCreateHash(context_->algorithm, &context_->hash, nullptr, 0, nullptr, 0, 0) != 0) {
    if (context_->algorithm) BCryptCloseAlgorithmProvider(context_->algorithm, 0);
    throw std::bad_alloc();
  }
}

Sha256::~Sha256() {
  if (context_->hash) BCryptDestroyHash(context_->hash);
  if (context_->algorithm) BCryptCloseAlgorithmProvider(context_->algorithm, 0);
}

void Sha256::update(const void* data, std::size_t length) {
  // CNG takes at most 4 GiB - 1 per call.
  const auto* bytes = static_cast<const unsigned char*>(data);
  while (length > 0) {
    const ULONG piece = length > 0x40000000u ? 0x40000000u : static_cast<ULONG>(length);
    BCryptHashData(context_->hash, const_cast<PUCHAR>(bytes), piece, 0);
    bytes += piece;
    length -= piece;
  }
}

std::string Sha256::hex_digest() {
  unsigned char digest[32];
  BCryptFinishHash(context_->hash, digest, sizeof digest, 0);
  return sha256_hex(digest);
}

}  // namespace qf
