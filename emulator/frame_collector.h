// Collects request frames (0x55, n, n data bytes, check byte) byte by byte
// and checks them as a module does.
#pragma once

#include <cstdint>
#include <vector>

namespace q5480 {

class FrameCollector {
 public:
  enum class Result { Incomplete, Accepted, Rejected };

  Result Feed(std::uint8_t byte);
  void Reset();
  bool Idle() const { return state_ == State::Start; }
  bool AtLengthByte() const { return state_ == State::Length; }
  // The data bytes of the frame last accepted.
  const std::vector<std::uint8_t>& Data() const { return data_; }

 private:
  enum class State { Start, Length, Data, Check };
  State state_ = State::Start;
  std::size_t length_ = 0;
  std::vector<std::uint8_t> data_;
};

// 255 minus the sum of the bytes modulo 256.
std::uint8_t FrameCheck(const std::vector<std::uint8_t>& bytes);

}  // namespace q5480
