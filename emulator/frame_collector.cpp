#include "emulator/frame_collector.h"

namespace q5480 {
namespace {

constexpr std::uint8_t kRequestStart = 0x55;
constexpr std::size_t kMaxData = 250;

}  // namespace

std::uint8_t FrameCheck(const std::vector<std::uint8_t>& bytes) {
  unsigned sum = 0;
  for (std::uint8_t byte : bytes) sum += byte;
  return static_cast<std::uint8_t>(255 - sum % 256);
}

void FrameCollector::Reset() {
  state_ = State::Start;
  data_.clear();
}

FrameCollector::Result FrameCollector::Feed(std::uint8_t byte) {
  switch (state_) {
    case State::Start:
      if (byte == kRequestStart) {
        data_.clear();
        state_ = State::Length;
      }
      return Result::Incomplete;
    case State::Length:
      if (byte == 0 || byte > kMaxData) {
        Reset();
        return Result::Rejected;
      }
      length_ = byte;
      state_ = State::Data;
      return Result::Incomplete;
    case State::Data:
      data_.push_back(byte);
      if (data_.size() == length_) state_ = State::Check;
      return Result::Incomplete;
    case State::Check:
      state_ = State::Start;
      if (byte != FrameCheck(data_)) {
        data_.clear();
        return Result::Rejected;
      }
      return Result::Accepted;
  }
  return Result::Incomplete;
}

}  // namespace q5480
