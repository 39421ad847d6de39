#include "link/termios_marked_input.h"

namespace q5480 {

TermiosMarkedInput::Result TermiosMarkedInput::Feed(std::uint8_t raw, std::uint8_t& data) {
  switch (state_) {
    case State::Plain:
      if (raw == 0xFF) {
        state_ = State::AfterMark;
        return Result::Pending;
      }
      data = raw;
      return Result::Data;
    case State::AfterMark:
      if (raw == 0xFF) {
        state_ = State::Plain;
        data = raw;
        return Result::Data;
      }
      if (raw == 0x00) {
        state_ = State::AfterErrorMark;
        return Result::Pending;
      }
      // Not a sequence the driver produces: treat it as damage.
      state_ = State::Plain;
      return Result::LineError;
    case State::AfterErrorMark:
      state_ = State::Plain;  // the damaged byte itself
      return Result::LineError;
  }
  return Result::Pending;
}

}  // namespace q5480
