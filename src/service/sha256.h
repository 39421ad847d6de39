// SHA-256 of a byte string, from the system's cryptography: OpenSSL's
// libcrypto on Linux (sha256_openssl.cpp), CNG on Windows (sha256_win32.cpp).
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace q5480 {

using Sha256Digest = std::array<std::uint8_t, 32>;

// Throws std::runtime_error when the system offers no SHA-256.
Sha256Digest Sha256(std::span<const std::uint8_t> bytes);

}  // namespace q5480
