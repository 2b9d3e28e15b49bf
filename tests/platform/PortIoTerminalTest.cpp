// A terminal's side of the port waits and writes, on a pipe: a writer that
// hung up ends a wait as a failure, and a terminal is written with write().

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <vector>

#include "platform/PortIo.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;

TEST(PortIoTerminalTest, AHungUpWriterFailsTheWaitAndWritesGoOutWhole) {
  std::array<int, 2> hungUp{};
  ASSERT_EQ(::pipe2(hungUp.data(), O_NONBLOCK), 0);
  ::close(hungUp[1]);
  Event stop;
  EXPECT_EQ(waitForPort(hungUp[0], POLLIN, PortClock::now() + 30ms, {&stop}), PortWait::Failed);
  ::close(hungUp[0]);

  std::array<int, 2> pipe{};
  ASSERT_EQ(::pipe2(pipe.data(), O_NONBLOCK), 0);
  const std::vector<std::uint8_t> frame(300, 0xA5);
  EXPECT_EQ(writeToPort(pipe[1], PortKind::Terminal, frame, 30ms, {}).end, PortWrite::End::Written);
  std::vector<std::uint8_t> got(frame.size());
  EXPECT_EQ(::read(pipe[0], got.data(), got.size()), static_cast<ssize_t>(frame.size()));
  EXPECT_EQ(got, frame);
  ::close(pipe[0]);
  ::close(pipe[1]);
}

}  // namespace
}  // namespace orvane
