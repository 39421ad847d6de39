#include <windows.h>

#include <bcrypt.h>

#include <stdexcept>

#include "service/sha256.h"

namespace q5480 {

Sha256Digest Sha256(std::span<const std::uint8_t> bytes) {
  Sha256Digest digest{};
  BCRYPT_ALG_HANDLE algorithm = nullptr;
  NTSTATUS status = ::BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0);
  if (BCRYPT_SUCCESS(status)) {
    status = ::BCryptHash(
        algorithm, nullptr, 0, const_cast<PUCHAR>(reinterpret_cast<const UCHAR*>(bytes.data())),
        static_cast<ULONG>(bytes.size()), digest.data(), static_cast<ULONG>(digest.size()));
    ::BCryptCloseAlgorithmProvider(algorithm, 0);
  }
  if (!BCRYPT_SUCCESS(status)) throw std::runtime_error("SHA-256 is not available");
  return digest;
}

}  // namespace q5480
