#include <openssl/evp.h>

#include <stdexcept>

#include "service/sha256.h"

namespace q5480 {

Sha256Digest Sha256(std::span<const std::uint8_t> bytes) {
  Sha256Digest digest{};
  unsigned int length = 0;
  if (EVP_Digest(bytes.data(), bytes.size(), digest.data(), &length, EVP_sha256(), nullptr) != 1 ||
      length != digest.size()) {
    throw std::runtime_error("SHA-256 is not available");
  }
  return digest;
}

}  // namespace q5480
