// What became of an exchange with the module, carried up to whoever asked
// for it: the link itself never tells the person.
#pragma once

#include <cstdint>

namespace q5480 {

enum class LinkStatus : std::uint8_t {
  Success,
  NoEcho,     // the request did not come back from the line as sent
  BadReply,   // a reply came, but not the one the request asks for
  LineError,  // break, framing, parity or overrun on the line
  TimedOut,   // the module did not answer (in full) in time
  Aborted,    // the exchange or transfer was cancelled
  PortLost,   // the port's device is gone, as when an adapter is pulled
  Busy,       // another transfer holds the link
};

inline bool Succeeded(LinkStatus status) { return status == LinkStatus::Success; }

}  // namespace q5480
