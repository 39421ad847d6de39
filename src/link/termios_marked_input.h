// Decodes the input of a port read with PARMRK: 0xFF 0xFF is a data byte
// 0xFF, 0xFF 0x00 x marks a byte damaged by a break, framing or parity error.
#pragma once

#include <cstdint>

namespace q5480 {

class TermiosMarkedInput {
 public:
  enum class Result { Pending, Data, LineError };

  // Takes one raw byte; on Data, `data` holds the decoded byte.
  Result Feed(std::uint8_t raw, std::uint8_t& data);
  void Reset() { state_ = State::Plain; }
  bool Pending() const { return state_ != State::Plain; }

 private:
  enum class State { Plain, AfterMark, AfterErrorMark };
  State state_ = State::Plain;
};

}  // namespace q5480
