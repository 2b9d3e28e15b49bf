#include "sim/SerialBusServer.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <system_error>

#include "protocol/FrameAssembler.h"

namespace orvane {

namespace {

using Clock = std::chrono::steady_clock;

// A frame is sent in one go; a begun frame that stays incomplete this long
// was a false start.
constexpr int kFrameGapMs = 50;
// An answer nobody takes within this time (no editor attached, its input
// full) is dropped, as on a real bus.
constexpr auto kReplyWriteTimeout = std::chrono::milliseconds(1000);
constexpr std::size_t kReadChunk = 512;
constexpr short kTerminalGone = POLLERR | POLLHUP | POLLNVAL;

[[noreturn]] void fail(const char* step) {
  throw std::system_error(errno, std::generic_category(), step);
}

}  // namespace

SerialBusServer::SerialBusServer() {
  try {
    openTerminal();
  } catch (...) {
    closeTerminal();
    throw;
  }
  thread_ = std::thread([this] { run(); });
}

SerialBusServer::~SerialBusServer() {
  stop();
}

// The near end is the bus; the far end, raw like a serial line at 57600 8N1,
// is what the editor opens.
void SerialBusServer::openTerminal() {
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0) fail("posix_openpt");
  if (::grantpt(master_) != 0) fail("grantpt");
  if (::unlockpt(master_) != 0) fail("unlockpt");
  if (::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK) != 0) fail("fcntl");
  std::array<char, 128> name{};
  if (const int error = ::ptsname_r(master_, name.data(), name.size()); error != 0) {
    errno = error;
    fail("ptsname_r");
  }
  devicePath_ = name.data();
  farEnd_ = ::open(devicePath_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (farEnd_ < 0) fail("open");
  termios settings{};
  if (::tcgetattr(farEnd_, &settings) != 0) fail("tcgetattr");
  ::cfmakeraw(&settings);
  ::cfsetispeed(&settings, B57600);
  ::cfsetospeed(&settings, B57600);
  if (::tcsetattr(farEnd_, TCSANOW, &settings) != 0) fail("tcsetattr");
}

void SerialBusServer::closeTerminal() {
  if (master_ >= 0) ::close(master_);
  if (farEnd_ >= 0) ::close(farEnd_);
  master_ = farEnd_ = -1;
}

void SerialBusServer::addDevice(DeviceResponder& responder) {
  addDevice([&responder](std::span<const std::uint8_t> request) { return responder.respond(request); });
}

void SerialBusServer::addDevice(Device device) {
  std::lock_guard lock(mutex_);
  devices_.push_back(std::move(device));
}

void SerialBusServer::setReplyDelay(std::chrono::milliseconds delay) {
  replyDelayMs_.store(delay.count());
}

void SerialBusServer::stop() {
  if (!thread_.joinable()) return;
  stop_.set();
  thread_.join();
  closeTerminal();
}

void SerialBusServer::run() {
  FrameAssembler assembler;
  std::array<std::uint8_t, kReadChunk> buffer{};
  for (;;) {
    std::array<pollfd, 2> fds{{{stop_.descriptor(), POLLIN, 0}, {master_, POLLIN, 0}}};
    const int ready = ::poll(fds.data(), fds.size(), assembler.holdsPartial() ? kFrameGapMs : -1);
    if (ready < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (fds[0].revents & POLLIN) return;
    std::vector<FrameAssembler::Frame> frames;
    if (ready == 0) {
      frames = assembler.lineIdle();
    } else if (fds[1].revents & POLLIN) {
      const ssize_t n = ::read(master_, buffer.data(), buffer.size());
      if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
      if (n <= 0) return;
      frames = assembler.push(std::span(buffer.data(), static_cast<std::size_t>(n)));
    } else if (fds[1].revents & kTerminalGone) {
      return;
    }
    for (const auto& frame : frames) answer(frame);
  }
}

// Every device hears the request; at most the one it is addressed to
// answers. Should two devices share an ID, the first on the bus speaks.
void SerialBusServer::answer(std::span<const std::uint8_t> request) {
  std::vector<Device> devices;
  {
    std::lock_guard lock(mutex_);
    devices = devices_;
  }
  std::optional<Frame> reply;
  for (const Device& device : devices) {
    auto answer = device(request);
    if (answer && !reply) reply = std::move(answer);
  }
  if (!reply) return;
  const auto delay = std::chrono::milliseconds(replyDelayMs_.load());
  if (delay.count() > 0 && stop_.wait(delay)) return;
  writeReply(*reply);
}

bool SerialBusServer::writeReply(std::span<const std::uint8_t> reply) {
  const auto deadline = Clock::now() + kReplyWriteTimeout;
  std::size_t done = 0;
  while (done < reply.size()) {
    const ssize_t n = ::write(master_, reply.data() + done, reply.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return false;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return false;
    std::array<pollfd, 2> fds{{{master_, POLLOUT, 0}, {stop_.descriptor(), POLLIN, 0}}};
    if (::poll(fds.data(), fds.size(), static_cast<int>(left.count())) < 0 && errno != EINTR) return false;
    if (fds[1].revents & POLLIN) return false;
  }
  return true;
}

}  // namespace orvane
