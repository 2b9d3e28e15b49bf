#pragma once

// Both ends of a serial line for tests, played by hand.
//
// SerialTestLine reads whole frames from a descriptor and writes raw bytes
// to it. SerialTestPeer is the device end of a fresh pseudo-terminal: a test
// reads the frames the serial port writes and answers them whole, in pieces,
// garbled or not at all. Like the simulator it keeps the port's end open
// itself, so the terminal stays up between openings of the port.

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "protocol/FrameAssembler.h"

namespace orvane::test {

using Bytes = std::vector<std::uint8_t>;

// A read of device 3's ID on the serial link.
inline const Bytes kProbe3{
    0x5A, 0x5A, 0x5A, 0x88,              // sync, start
    0xA2,                                // cmd: read
    0x01,                                // link: serial
    0x00,                                // nonce
    0x03,                                // device ID 3
    0x00,                                // value
    0x03,                                // block: system item
    0x15,                                // item 21: device ID
    0x00, 0x00,                          // row, reserved
    0x08,                                // length 8
    0,    0,    0,    0,    0, 0, 0, 0,  // payload
    0xBE,                                // checksum: A2^01^03^03^15^08
    0xAA,                                // end
};

class SerialTestLine {
 public:
  // Opens a terminal by path, raw, as a program on the bus would.
  explicit SerialTestLine(const std::string& path)
      : SerialTestLine(::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC)) {
    termios settings{};
    ::tcgetattr(fd_, &settings);
    ::cfmakeraw(&settings);
    ::tcsetattr(fd_, TCSANOW, &settings);
  }
  // Takes over an open descriptor.
  explicit SerialTestLine(int fd) : fd_(fd) {
    if (fd_ < 0) throw std::runtime_error("no terminal to talk on");
  }
  ~SerialTestLine() { close(); }
  SerialTestLine(const SerialTestLine&) = delete;
  SerialTestLine& operator=(const SerialTestLine&) = delete;

  // The next whole frame that arrived, or nothing when none came in time.
  std::optional<Bytes> readFrame(std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (frames_.empty()) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0 || fd_ < 0) return std::nullopt;
      pollfd fd{fd_, POLLIN, 0};
      if (::poll(&fd, 1, static_cast<int>(left.count())) <= 0) continue;
      std::array<std::uint8_t, 512> buffer{};
      const ssize_t n = ::read(fd_, buffer.data(), buffer.size());
      if (n <= 0) continue;
      for (auto& frame : assembler_.push(std::span(buffer.data(), static_cast<std::size_t>(n))))
        frames_.push_back(std::move(frame));
    }
    Bytes frame = std::move(frames_.front());
    frames_.erase(frames_.begin());
    return frame;
  }

  void write(std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
      if (n <= 0) throw std::runtime_error("the line could not be written");
      done += static_cast<std::size_t>(n);
    }
  }

  // The other end of the terminal went away.
  bool hungUp() const {
    pollfd fd{fd_, POLLIN, 0};
    return ::poll(&fd, 1, 0) > 0 && (fd.revents & POLLHUP);
  }

  void close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

 private:
  int fd_;
  FrameAssembler assembler_;
  std::vector<Bytes> frames_;
};

class SerialTestPeer {
 public:
  SerialTestPeer() : device_(openNearEnd()) {
    std::array<char, 128> name{};
    ::ptsname_r(master_, name.data(), name.size());
    path_ = name.data();
    portEnd_ = std::make_unique<SerialTestLine>(path_);
  }
  SerialTestPeer(const SerialTestPeer&) = delete;
  SerialTestPeer& operator=(const SerialTestPeer&) = delete;

  // What the serial port opens.
  const std::string& path() const { return path_; }
  SerialTestLine& device() { return device_; }

  // The device end goes away: the port's end of the terminal hangs up.
  void hangUp() { device_.close(); }

 private:
  int openNearEnd() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
      throw std::runtime_error("no pseudo-terminal");
    return master_;
  }

  int master_ = -1;
  SerialTestLine device_;
  std::string path_;
  std::unique_ptr<SerialTestLine> portEnd_;
};

}  // namespace orvane::test
