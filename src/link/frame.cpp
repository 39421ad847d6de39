#include "link/frame.h"

#include <algorithm>
#include <stdexcept>

namespace q5480 {

std::uint8_t CheckByte(std::span<const std::uint8_t> data) {
  unsigned sum = 0;
  for (std::uint8_t byte : data) sum += byte;
  return static_cast<std::uint8_t>(255 - sum % 256);
}

LinkBuffer MakeRequest(std::span<const std::uint8_t> data, std::uint8_t replyLength) {
  if (data.empty() || data.size() > kMaxRequestData) {
    throw std::invalid_argument("request data must hold 1 to 250 bytes");
  }
  LinkBuffer request{};
  request[0] = static_cast<std::uint8_t>(data.size());
  std::copy(data.begin(), data.end(), request.begin() + 1);
  request[data.size() + 1] = replyLength;
  return request;
}

LinkBuffer MakeRequest(std::initializer_list<std::uint8_t> data, std::uint8_t replyLength) {
  return MakeRequest(std::span<const std::uint8_t>(data.begin(), data.size()), replyLength);
}

}  // namespace q5480
