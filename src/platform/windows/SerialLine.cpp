#include "platform/SerialLine.h"

#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "platform/windows/SystemError.h"
#include "platform/windows/WideText.h"

namespace orvane {

// The COM port is opened for overlapped I/O, and every transfer is waited
// for before the call that started it returns: one that a time-out or an
// event cuts short is cancelled and its end awaited, so no transfer is ever
// left running on a buffer that is gone, and the port closes with nothing
// pending. The port's read time-outs make a read return at once with what
// waits, or, when nothing waits, as soon as the first byte comes: so a read
// of one byte is the wait for the next byte, and that byte is kept for the
// next readWaiting().
struct SerialLine::Port {
  HANDLE handle;
  HANDLE io;  // the completion event of the transfer in progress
  std::vector<std::uint8_t> held;

  Port(HANDLE port, HANDLE event) : handle(port), io(event) {}
  ~Port() {
    ::CloseHandle(io);
    ::CloseHandle(handle);
  }
  Port(const Port&) = delete;
  Port& operator=(const Port&) = delete;
};

namespace {

// How long a read of bytes the port reported waiting may take before it is
// cancelled: they are in the driver's buffer, so it ends at once unless
// something else took them.
constexpr DWORD kWaitingReadBound = 200;
// The longest a one-byte read waits for its byte on its own; the link
// thread's waits always end it earlier.
constexpr DWORD kByteWait = MAXDWORD - 1;
constexpr DWORD kPurgeBoth = PURGE_RXCLEAR | PURGE_TXCLEAR;

// The errno value the serial link's faults are told by.
int errnoOf(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_DEV_NOT_EXIST:
      return ENOENT;
    // A COM port another program holds answers "access denied".
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
      return EBUSY;
    case ERROR_PRIVILEGE_NOT_HELD:
      return EACCES;
    default:
      return 0;
  }
}

DWORD waitMs(std::chrono::milliseconds wait) {
  return static_cast<DWORD>(std::clamp<long long>(wait.count(), 0, MAXDWORD - 1));
}

// 57600 baud, 8 data bits, no parity, 1 stop bit, binary, no flow control
// of either kind, RTS held asserted (many RS-485 adapters switch their
// driver with it); reads as described above, writes without a time-out of
// the port's own; both directions purged. A step that fails is reported
// and the port is used as it is.
void configure(HANDLE port, DCB settings, const SerialLine::Warning& warn) {
  const auto failed = [&](const char* step) { warn(step, lastSystemMessage()); };
  settings.BaudRate = CBR_57600;
  settings.ByteSize = 8;
  settings.Parity = NOPARITY;
  settings.StopBits = ONESTOPBIT;
  settings.fBinary = TRUE;
  settings.fParity = FALSE;
  settings.fOutxCtsFlow = FALSE;
  settings.fOutxDsrFlow = FALSE;
  settings.fDtrControl = DTR_CONTROL_ENABLE;
  settings.fDsrSensitivity = FALSE;
  settings.fOutX = FALSE;
  settings.fInX = FALSE;
  settings.fErrorChar = FALSE;
  settings.fNull = FALSE;
  settings.fRtsControl = RTS_CONTROL_ENABLE;
  settings.fAbortOnError = FALSE;
  if (!::SetCommState(port, &settings)) failed("SetCommState()");
  COMMTIMEOUTS timeouts{};
  timeouts.ReadIntervalTimeout = MAXDWORD;
  timeouts.ReadTotalTimeoutMultiplier = MAXDWORD;
  timeouts.ReadTotalTimeoutConstant = kByteWait;
  if (!::SetCommTimeouts(port, &timeouts)) failed("SetCommTimeouts()");
  if (!::PurgeComm(port, kPurgeBoth)) failed("PurgeComm()");
}

// Ends a transfer that is still running and waits for its end: the bytes
// it moved before it ended.
DWORD cancelTransfer(HANDLE port, OVERLAPPED& transfer) {
  ::CancelIoEx(port, &transfer);
  DWORD moved = 0;
  if (!::GetOverlappedResult(port, &transfer, &moved, TRUE)) return 0;
  return moved;
}

std::vector<HANDLE> handlesOf(std::initializer_list<const Event*> events) {
  std::vector<HANDLE> handles;
  for (const Event* e : events) handles.push_back(LongToHandle(e->descriptor()));
  return handles;
}

}  // namespace

SerialLine::SerialLine() = default;

SerialLine::~SerialLine() {
  close();
}

std::string SerialLine::devicePath(const std::string& address) {
  if (address.empty() || address.starts_with("\\\\")) return address;
  return "\\\\.\\" + address;
}

std::optional<SerialLine::OpenError> SerialLine::open(const std::string& path, const Warning& warn) {
  close();
  // Exclusive: two writers on one bus corrupt each other's frames.
  const HANDLE port = ::CreateFileW(wideText(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
  if (port == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    return OpenError{errnoOf(error), systemMessage(error)};
  }
  // Only a serial port has port settings. Anything else typed into the
  // port box is closed again untouched, never written to.
  DCB settings{};
  settings.DCBlength = sizeof settings;
  if (!::GetCommState(port, &settings)) {
    const DWORD error = ::GetLastError();
    ::CloseHandle(port);
    return OpenError{ENOTTY, systemMessage(error)};
  }
  const HANDLE io = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (io == nullptr) {
    const DWORD error = ::GetLastError();
    ::CloseHandle(port);
    return OpenError{0, systemMessage(error)};
  }
  configure(port, settings, warn);
  port_ = std::make_unique<Port>(port, io);
  return std::nullopt;
}

void SerialLine::close() {
  port_.reset();
}

bool SerialLine::isOpen() const {
  return port_ != nullptr;
}

void SerialLine::purge() {
  port_->held.clear();
  ::PurgeComm(port_->handle, kPurgeBoth);
}

bool SerialLine::purgeInput() {
  port_->held.clear();
  return ::PurgeComm(port_->handle, PURGE_RXCLEAR) != 0;
}

SerialLine::Wake SerialLine::wait(std::chrono::milliseconds timeout,
                                  std::initializer_list<const Event*> events) {
  const auto set = std::find_if(events.begin(), events.end(), [](const Event* e) { return e->isSet(); });
  if (set != events.end()) return {Wake::Kind::Event, static_cast<std::size_t>(set - events.begin())};
  if (!port_->held.empty()) return {Wake::Kind::Readable};
  DWORD errors = 0;
  COMSTAT status{};
  if (!::ClearCommError(port_->handle, &errors, &status)) return {Wake::Kind::Failed};
  if (status.cbInQue > 0) return {Wake::Kind::Readable};

  std::uint8_t byte = 0;
  DWORD got = 0;
  OVERLAPPED transfer{};
  transfer.hEvent = port_->io;
  if (!::ReadFile(port_->handle, &byte, 1, &got, &transfer)) {
    if (::GetLastError() != ERROR_IO_PENDING) return {Wake::Kind::Failed};
    std::vector<HANDLE> handles = handlesOf(events);
    handles.push_back(port_->io);
    const DWORD woken =
        ::WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), FALSE, waitMs(timeout));
    if (woken == WAIT_OBJECT_0 + events.size()) {
      if (!::GetOverlappedResult(port_->handle, &transfer, &got, FALSE)) return {Wake::Kind::Failed};
    } else {
      // The byte may have come while the read was being cancelled: it is
      // kept, and read next.
      got = cancelTransfer(port_->handle, transfer);
      if (got > 0) port_->held.push_back(byte);
      if (woken == WAIT_FAILED) return {Wake::Kind::Failed};
      if (woken < WAIT_OBJECT_0 + events.size()) return {Wake::Kind::Event, woken - WAIT_OBJECT_0};
      return {got > 0 ? Wake::Kind::Readable : Wake::Kind::TimedOut};
    }
  }
  if (got == 0) return {Wake::Kind::TimedOut};
  port_->held.push_back(byte);
  return {Wake::Kind::Readable};
}

std::optional<std::size_t> SerialLine::readWaiting(std::span<std::uint8_t> buffer) {
  std::vector<std::uint8_t>& held = port_->held;
  const std::size_t taken = std::min(held.size(), buffer.size());
  std::copy_n(held.begin(), taken, buffer.begin());
  held.erase(held.begin(), held.begin() + static_cast<std::ptrdiff_t>(taken));
  buffer = buffer.subspan(taken);
  DWORD errors = 0;
  COMSTAT status{};
  if (!::ClearCommError(port_->handle, &errors, &status)) return std::nullopt;
  if (status.cbInQue == 0 || buffer.empty()) return taken;

  const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(status.cbInQue, buffer.size()));
  DWORD got = 0;
  OVERLAPPED transfer{};
  transfer.hEvent = port_->io;
  if (!::ReadFile(port_->handle, buffer.data(), wanted, &got, &transfer)) {
    if (::GetLastError() != ERROR_IO_PENDING) return std::nullopt;
    if (::WaitForSingleObject(port_->io, kWaitingReadBound) == WAIT_OBJECT_0) {
      if (!::GetOverlappedResult(port_->handle, &transfer, &got, FALSE)) return std::nullopt;
    } else {
      got = cancelTransfer(port_->handle, transfer);
    }
  }
  return taken + got;
}

bool SerialLine::write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds limit,
                       std::initializer_list<const Event*> interrupts) {
  DWORD written = 0;
  OVERLAPPED transfer{};
  transfer.hEvent = port_->io;
  const auto size = static_cast<DWORD>(bytes.size());
  if (::WriteFile(port_->handle, bytes.data(), size, &written, &transfer)) return written == size;
  if (::GetLastError() != ERROR_IO_PENDING) return false;
  std::vector<HANDLE> handles{port_->io};
  const std::vector<HANDLE> events = handlesOf(interrupts);
  handles.insert(handles.end(), events.begin(), events.end());
  const DWORD woken =
      ::WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), FALSE, waitMs(limit));
  if (woken == WAIT_OBJECT_0)
    return ::GetOverlappedResult(port_->handle, &transfer, &written, FALSE) && written == size;
  // Cut short by a set event or the time-out: whatever went out, the frame
  // did not go out whole in time.
  cancelTransfer(port_->handle, transfer);
  return false;
}

}  // namespace orvane
