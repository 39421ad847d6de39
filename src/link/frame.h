// Request and reply buffers of the framed link and their check byte.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>

namespace q5480 {

// A request buffer holds n, the n data bytes and L (255: no reply awaited);
// a reply buffer holds the L data bytes and the check byte.
using LinkBuffer = std::array<std::uint8_t, 256>;

inline constexpr std::uint8_t kRequestStart = 0x55;
inline constexpr std::uint8_t kReplyStart = 0x31;
inline constexpr std::uint8_t kNoReply = 255;
inline constexpr int kMaxRequestData = 250;

// 255 minus the sum of the bytes modulo 256.
std::uint8_t CheckByte(std::span<const std::uint8_t> data);

// A request buffer for `data` (1 to 250 bytes) awaiting `replyLength` bytes.
LinkBuffer MakeRequest(std::span<const std::uint8_t> data, std::uint8_t replyLength);
LinkBuffer MakeRequest(std::initializer_list<std::uint8_t> data, std::uint8_t replyLength);

}  // namespace q5480
