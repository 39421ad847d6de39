// The serial port on Windows: "\\.\COMn" opened exclusively for overlapped
// I/O. A byte that has not arrived yet is waited for by a one-byte read under
// the port's interval and total time-outs; bytes the driver holds already
// are taken in one read, and handed out one at a time. Every wait also
// watches the abort event, so that an abort ends it at once. WaitCommEvent is
// not used: it is not dependable on every driver (under wine on a
// pseudo-terminal it never completes properly).
#include <windows.h>

#include <algorithm>
#include <array>

#include "link/deadline.h"
#include "link/frame.h"
#include "link/serial_port.h"

namespace q5480 {
namespace {

constexpr DWORD kInputQueue = 220;
constexpr DWORD kOutputQueue = 23;
// I/O error, break, framing error, overrun and parity error fail an exchange.
constexpr DWORD kLineErrors = CE_IOE | CE_BREAK | CE_FRAME | CE_OVERRUN | CE_RXPARITY;

DWORD Milliseconds(Deadline::Clock::duration duration) {
  const auto ms = std::chrono::ceil<std::chrono::milliseconds>(duration).count();
  return ms <= 0 ? 0 : static_cast<DWORD>(std::min<long long>(ms, INFINITE - 1));
}

DWORD Milliseconds(std::chrono::milliseconds duration) {
  return static_cast<DWORD>(std::max<long long>(duration.count(), 0));
}

// What an overlapped transfer that ended without its bytes means. A time-out
// of the driver (success with fewer bytes, or ERROR_TIMEOUT as wine reports
// it) and a cancelled wait are no failure of the port.
bool PortGone(DWORD error) {
  return error != ERROR_SUCCESS && error != ERROR_TIMEOUT && error != ERROR_OPERATION_ABORTED &&
         error != ERROR_IO_PENDING;
}

// How an overlapped transfer ended.
struct Transferred {
  DWORD count = 0;
  DWORD error = ERROR_SUCCESS;
  bool aborted = false;
};

}  // namespace

struct SerialPort::State {
  HANDLE handle = INVALID_HANDLE_VALUE;
  HANDLE readEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE writeEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  bool lost = false;
  // Bytes read from the driver and not yet taken.
  std::array<std::uint8_t, 64> inbox{};
  std::size_t inboxStart = 0;
  std::size_t inboxEnd = 0;
  // Errors that ClearCommError reported while the queue was measured.
  DWORD pendingErrors = 0;

  State() = default;
  ~State() {
    ::CloseHandle(readEvent);
    ::CloseHandle(writeEvent);
  }
  State(const State&) = delete;
  State& operator=(const State&) = delete;

  // Starts an overlapped transfer and waits for it until `deadline` or the
  // abort event; a transfer still running then is cancelled.
  Transferred Run(bool write, void* data, DWORD size, const Deadline& deadline, HANDLE abort);
  // Fills the empty inbox: what the driver holds in one read, else the next
  // byte within `deadline` (the driver's own time-outs may end a read early,
  // and it is then started again).
  PortResult Fill(const Deadline& deadline, HANDLE abort);
  // One byte from the inbox, filled first when empty.
  ByteResult ReadOne(const Deadline& deadline, HANDLE abort);
  std::size_t Held() const { return inboxEnd - inboxStart; }
  void Drop() { inboxStart = inboxEnd = 0; }
  void Accumulate(DWORD errors) { pendingErrors |= errors & kLineErrors; }
};

Transferred SerialPort::State::Run(bool write, void* data, DWORD size, const Deadline& deadline,
                                   HANDLE abort) {
  HANDLE event = write ? writeEvent : readEvent;
  OVERLAPPED overlapped{};
  overlapped.hEvent = event;
  ::ResetEvent(event);
  Transferred result;
  const BOOL done = write ? ::WriteFile(handle, data, size, &result.count, &overlapped)
                          : ::ReadFile(handle, data, size, &result.count, &overlapped);
  if (done) return result;
  result.error = ::GetLastError();
  if (result.error != ERROR_IO_PENDING) return result;
  const HANDLE waits[2] = {abort, event};
  const DWORD waited =
      ::WaitForMultipleObjects(2, waits, FALSE, Milliseconds(deadline.Remaining()));
  if (waited != WAIT_OBJECT_0 + 1) ::CancelIoEx(handle, &overlapped);
  // Waits for the cancellation too: the transfer may have finished meanwhile.
  result.error = ::GetOverlappedResult(handle, &overlapped, &result.count, TRUE) ? ERROR_SUCCESS
                                                                                 : ::GetLastError();
  result.aborted = waited == WAIT_OBJECT_0;
  return result;
}

PortResult SerialPort::State::Fill(const Deadline& deadline, HANDLE abort) {
  for (;;) {
    DWORD errors = 0;
    COMSTAT status{};
    DWORD want = 1;
    if (::ClearCommError(handle, &errors, &status)) {
      Accumulate(errors);
      want = std::clamp<DWORD>(status.cbInQue, 1, inbox.size());
    }
    const Transferred read = Run(false, inbox.data(), want, deadline, abort);
    if (read.aborted) return PortResult::Aborted;
    if (read.count > 0) {
      inboxStart = 0;
      inboxEnd = read.count;
      return PortResult::Ok;
    }
    if (PortGone(read.error)) {
      lost = true;
      return PortResult::Lost;
    }
    if (deadline.Expired()) return PortResult::TimedOut;
  }
}

ByteResult SerialPort::State::ReadOne(const Deadline& deadline, HANDLE abort) {
  if (Held() == 0) {
    const PortResult filled = Fill(deadline, abort);
    if (filled != PortResult::Ok) return {filled};
  }
  return {PortResult::Ok, inbox[inboxStart++]};
}

SerialPort::SerialPort(AbortSignal& abort) : abort_(abort), state_(std::make_unique<State>()) {}

SerialPort::~SerialPort() { Close(); }

bool SerialPort::IsOpen() const { return state_->handle != INVALID_HANDLE_VALUE; }
bool SerialPort::Lost() const { return state_->lost; }

namespace {

HANDLE AbortEvent(const AbortSignal& abort) { return reinterpret_cast<HANDLE>(abort.Native()); }

}  // namespace

bool SerialPort::Open(const std::filesystem::path& device, const std::filesystem::path&) {
  Close();
  // No sharing: a second program, or a second open here, is refused.
  HANDLE handle = ::CreateFileW(
      device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
      FILE_FLAG_OVERLAPPED | FILE_FLAG_NO_BUFFERING | FILE_FLAG_WRITE_THROUGH, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  // Only a communications device has a line state.
  DCB line{};
  line.DCBlength = sizeof line;
  if (!::GetCommState(handle, &line)) {
    ::CloseHandle(handle);
    return false;
  }
  state_->handle = handle;
  state_->lost = false;
  state_->Drop();
  state_->pendingErrors = 0;
  TakeLineErrors();  // start counting from now
  return true;
}

void SerialPort::Close() {
  if (!IsOpen()) return;
  ::CloseHandle(state_->handle);
  state_->handle = INVALID_HANDLE_VALUE;
  state_->Drop();
}

bool SerialPort::SetLine(int baud) {
  if (!IsOpen() || baud <= 0) return false;
  // The driver's queues are a hint; a driver that keeps its own is no fault.
  ::SetupComm(state_->handle, kInputQueue, kOutputQueue);
  DCB line{};
  line.DCBlength = sizeof line;
  if (!::GetCommState(state_->handle, &line)) return false;
  line.BaudRate = static_cast<DWORD>(baud);
  // Binary transfer with DTR and RTS on; no parity check, no flow control,
  // no character replaced or dropped.
  line.fBinary = TRUE;
  line.fParity = FALSE;
  line.fOutxCtsFlow = FALSE;
  line.fOutxDsrFlow = FALSE;
  line.fDtrControl = DTR_CONTROL_ENABLE;
  line.fDsrSensitivity = FALSE;
  line.fTXContinueOnXoff = FALSE;
  line.fOutX = FALSE;
  line.fInX = FALSE;
  line.fErrorChar = FALSE;
  line.fNull = FALSE;
  line.fRtsControl = RTS_CONTROL_ENABLE;
  line.fAbortOnError = FALSE;
  line.ByteSize = 8;
  line.Parity = NOPARITY;
  line.StopBits = ONESTOPBIT;
  line.EvtChar = static_cast<char>(kReplyStart);
  if (!::SetCommState(state_->handle, &line)) {
    // A port without modem lines (wine on a pseudo-terminal) refuses DTR and
    // RTS; the line works without them.
    line.fDtrControl = DTR_CONTROL_DISABLE;
    line.fRtsControl = RTS_CONTROL_DISABLE;
    if (!::SetCommState(state_->handle, &line)) return false;
    SetDtr(true);
    SetRts(true);
  }
  return true;
}

void SerialPort::SetTimeouts(const PortTimeouts& timeouts) {
  timeouts_ = timeouts;
  if (!IsOpen()) return;
  COMMTIMEOUTS driver{};
  driver.ReadIntervalTimeout = Milliseconds(timeouts.readInterval);
  driver.ReadTotalTimeoutMultiplier = Milliseconds(timeouts.readTotalMultiplier);
  driver.ReadTotalTimeoutConstant = Milliseconds(timeouts.readTotalConstant);
  driver.WriteTotalTimeoutMultiplier = Milliseconds(timeouts.writeTotalMultiplier);
  driver.WriteTotalTimeoutConstant = Milliseconds(timeouts.writeTotalConstant);
  // Every wait here is bounded by its own deadline as well, so a driver that
  // refuses keeps working, only less tightly.
  ::SetCommTimeouts(state_->handle, &driver);
}

PortResult SerialPort::Write(const std::uint8_t* data, std::size_t count,
                             std::chrono::milliseconds limit) {
  if (!IsOpen() || state_->lost) return PortResult::Lost;
  if (abort_.IsSet()) return PortResult::Aborted;
  const std::chrono::milliseconds total =
      timeouts_.writeTotalMultiplier * static_cast<long>(count) + timeouts_.writeTotalConstant;
  const Deadline deadline(total > total.zero() ? std::min(total, limit) : limit);
  const Transferred written = state_->Run(true, const_cast<std::uint8_t*>(data),
                                          static_cast<DWORD>(count), deadline, AbortEvent(abort_));
  if (written.aborted) return PortResult::Aborted;
  if (written.count == count) return PortResult::Ok;
  if (PortGone(written.error)) {
    state_->lost = true;
    return PortResult::Lost;
  }
  return PortResult::TimedOut;
}

PortResult SerialPort::WaitForInput(std::chrono::milliseconds limit) {
  if (!IsOpen() || state_->lost) return PortResult::Lost;
  if (abort_.IsSet()) return PortResult::Aborted;
  if (state_->Held() > 0) return PortResult::Ok;
  return state_->Fill(Deadline(limit), AbortEvent(abort_));
}

ByteResult SerialPort::ReadByte(std::chrono::milliseconds limit) {
  if (!IsOpen() || state_->lost) return {PortResult::Lost};
  if (TakeLineErrors()) return {PortResult::LineError};
  if (abort_.IsSet()) return {PortResult::Aborted};
  const std::chrono::milliseconds total =
      timeouts_.readTotalMultiplier + timeouts_.readTotalConstant;
  if (total > total.zero()) limit = std::min(total, limit);
  return state_->ReadOne(Deadline(limit), AbortEvent(abort_));
}

void SerialPort::LetBytesGather(std::size_t count, std::chrono::microseconds byteTime) {
  if (!IsOpen() || state_->lost) return;
  DWORD errors = 0;
  COMSTAT status{};
  if (!::ClearCommError(state_->handle, &errors, &status)) return;
  state_->Accumulate(errors);
  const std::size_t have = state_->Held() + status.cbInQue;
  if (have >= count) return;
  abort_.Sleep(byteTime * (count - have));
}

PortResult SerialPort::SettleLine(std::chrono::microseconds quiet,
                                  std::chrono::milliseconds bound) {
  if (!IsOpen() || state_->lost) return PortResult::Lost;
  const Deadline end(bound);
  for (;;) {
    PurgeInput();
    const auto wait = std::min<Deadline::Clock::duration>(quiet, end.Remaining());
    const PortResult filled = state_->Fill(Deadline(wait), AbortEvent(abort_));
    if (filled == PortResult::TimedOut) {
      return end.Expired() ? PortResult::TimedOut : PortResult::Ok;
    }
    if (filled != PortResult::Ok) return filled;
  }
}

bool SerialPort::TakeLineErrors() {
  if (!IsOpen()) return false;
  DWORD errors = 0;
  COMSTAT status{};
  if (::ClearCommError(state_->handle, &errors, &status)) state_->Accumulate(errors);
  const bool happened = state_->pendingErrors != 0;
  state_->pendingErrors = 0;
  return happened;
}

void SerialPort::PurgeInput() {
  state_->Drop();
  if (IsOpen()) ::PurgeComm(state_->handle, PURGE_RXCLEAR);
}

void SerialPort::PurgeOutput() {
  if (IsOpen()) ::PurgeComm(state_->handle, PURGE_TXCLEAR);
}

// A port without the line (wine on a pseudo-terminal) refuses these; that
// changes nothing for the exchange.
void SerialPort::SetBreak(bool on) {
  if (IsOpen()) on ? ::SetCommBreak(state_->handle) : ::ClearCommBreak(state_->handle);
}

void SerialPort::SetDtr(bool on) {
  if (IsOpen()) ::EscapeCommFunction(state_->handle, on ? SETDTR : CLRDTR);
}

void SerialPort::SetRts(bool on) {
  if (IsOpen()) ::EscapeCommFunction(state_->handle, on ? SETRTS : CLRRTS);
}

}  // namespace q5480
