#include "platform/SerialLine.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <vector>

#include "platform/PortIo.h"

namespace orvane {

struct SerialLine::Port {
  int fd;
};

namespace {

constexpr short kPortError = POLLERR | POLLHUP | POLLNVAL;

int pollTimeout(std::chrono::milliseconds wait) {
  return static_cast<int>(std::clamp<long long>(wait.count(), 0, INT_MAX));
}

// Raw 57600 baud, 8 data bits, no parity, 1 stop bit, no flow control of
// either kind, RTS held asserted (many RS-485 adapters switch their driver
// with it), both directions purged. A step that fails is reported and the
// port is used as it is.
void configure(int fd, const SerialLine::Warning& warn) {
  const auto failed = [&](const char* step) { warn(step, std::strerror(errno)); };
  if (::ioctl(fd, TIOCEXCL) != 0) failed("ioctl(TIOCEXCL)");
  termios settings{};
  if (::tcgetattr(fd, &settings) != 0) failed("tcgetattr()");
  ::cfmakeraw(&settings);
  settings.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
  settings.c_cflag |= CS8 | CLOCAL | CREAD;
  settings.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
  settings.c_cc[VMIN] = 0;
  settings.c_cc[VTIME] = 0;
  if (::cfsetispeed(&settings, B57600) != 0 || ::cfsetospeed(&settings, B57600) != 0) failed("cfsetspeed()");
  if (::tcsetattr(fd, TCSANOW, &settings) != 0) failed("tcsetattr()");
  // A pseudo-terminal has no modem lines; that is no fault.
  int rts = TIOCM_RTS;
  if (::ioctl(fd, TIOCMBIS, &rts) != 0 && errno != ENOTTY && errno != EINVAL) failed("ioctl(TIOCMBIS)");
  if (::tcflush(fd, TCIOFLUSH) != 0) failed("tcflush()");
}

}  // namespace

SerialLine::SerialLine() = default;

SerialLine::~SerialLine() {
  close();
}

std::string SerialLine::devicePath(const std::string& address) {
  if (address.empty() || address.find('/') != std::string::npos) return address;
  return "/dev/" + address;
}

std::optional<SerialLine::OpenError> SerialLine::open(const std::string& path, const Warning& warn) {
  close();
  const auto failed = [](int error, int fd) {
    if (fd >= 0) ::close(fd);
    return OpenError{error, {}};
  };
  // Non-blocking, so that opening never waits for a modem line and the
  // link thread's reads and writes never block it.
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return failed(errno, fd);
  // Only a terminal can be a serial port. Anything else typed into the
  // port box (a file, say) is closed again untouched, never written to.
  if (!::isatty(fd)) return failed(ENOTTY, fd);
  // Another program holding the port (another editor, a terminal program
  // that locks its port) keeps it: two writers on one bus corrupt each
  // other's frames.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    if (error == EWOULDBLOCK) return failed(EBUSY, fd);
    warn("flock()", std::strerror(error));
  }
  configure(fd, warn);
  port_ = std::make_unique<Port>(Port{fd});
  return std::nullopt;
}

void SerialLine::close() {
  if (!port_) return;
  // The exclusive mark outlives this descriptor while someone else holds
  // the terminal open (the simulator keeps its end open); lift it so the
  // port can be opened again.
  ::ioctl(port_->fd, TIOCNXCL);
  ::close(port_->fd);
  port_.reset();
}

bool SerialLine::isOpen() const {
  return port_ != nullptr;
}

void SerialLine::purge() {
  ::tcflush(port_->fd, TCIOFLUSH);
}

bool SerialLine::purgeInput() {
  return ::tcflush(port_->fd, TCIFLUSH) == 0;
}

SerialLine::Wake SerialLine::wait(std::chrono::milliseconds timeout,
                                  std::initializer_list<const Event*> events) {
  std::vector<pollfd> fds;
  for (const Event* e : events) fds.push_back(pollfd{e->descriptor(), POLLIN, 0});
  fds.push_back(pollfd{port_->fd, POLLIN, 0});
  int ready = 0;
  do {
    ready = ::poll(fds.data(), fds.size(), pollTimeout(timeout));
  } while (ready < 0 && errno == EINTR);
  if (ready < 0) return {Wake::Kind::Failed};
  for (std::size_t i = 0; i < events.size(); ++i)
    if (fds[i].revents & POLLIN) return {Wake::Kind::Event, i};
  const short port = fds.back().revents;
  if (port & kPortError) return {Wake::Kind::Failed};
  if (port & POLLIN) return {Wake::Kind::Readable};
  return {Wake::Kind::TimedOut};
}

std::optional<std::size_t> SerialLine::readWaiting(std::span<std::uint8_t> buffer) {
  for (;;) {
    int waiting = 0;
    if (::ioctl(port_->fd, FIONREAD, &waiting) != 0) return std::nullopt;
    if (waiting <= 0) return 0;
    const ssize_t n =
        ::read(port_->fd, buffer.data(), std::min(static_cast<std::size_t>(waiting), buffer.size()));
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
    if (n <= 0) return std::nullopt;
    return static_cast<std::size_t>(n);
  }
}

bool SerialLine::write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds limit,
                       std::initializer_list<const Event*> interrupts) {
  return writeToPort(port_->fd, PortKind::Terminal, bytes, limit, interrupts).end == PortWrite::End::Written;
}

}  // namespace orvane
