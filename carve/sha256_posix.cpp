// SHA-256 through OpenSSL's libcrypto.
#include <openssl/evp.h>

#include <new>

#include "carve/sha256.h"

namespace qf {

struct sha256_context {
  EVP_MD_CTX* md = nullptr;
  bool ok = false;
};

Sha256::Sha256() : context_(new sha256_context) {
  context_->md = EVP_MD_CTX_new();
  context_->ok = context_->md && EVP_DigestInit_ex(context_->md, EVP_sha256(), nullptr) == 1;
  if (!context_->ok) throw std::bad_alloc();
}

Sha256::~Sha256() { EVP_MD_CTX_free(context_->md); }

void Sha256::update(const void* data, std::size_t length) {
  if (length > 0) EVP_DigestUpdate(context_->md, data, length);
}

std::string Sha256::hex_digest() {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  EVP_DigestFinal_ex(context_->md, digest, &length);
  return sha256_hex(digest);
}

}  // namespace qf
