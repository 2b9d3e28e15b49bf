// Only one editor holds the USB device at a time, and an editor that dies
// does not keep it.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "model/ParameterImage.h"
#include "protocol/ReplyDispatcher.h"
#include "sim/MemoryHidBackend.h"
#include "support/LinkParts.h"
#include "transport/UsbPort.h"

namespace orvane {
namespace {

std::filesystem::path scratchLockPath(const std::string& name) {
  return std::filesystem::temp_directory_path() /
         ("orvane-usb-lock-test-" + name + "-" + std::to_string(::getpid()) + ".lock");
}

// One running editor's USB link: its own HID access to the shared device
// and its own port, marking the device taken in the lock file at `path`.
struct Editor : LinkParts {
  Editor(DeviceResponder& device, const std::filesystem::path& path)
      : backend(device), port(context(), backend, path) {}
  MemoryHidBackend backend;
  UsbPort port;
};

class UsbDeviceLockTest : public ::testing::Test {
 protected:
  ~UsbDeviceLockTest() override { std::filesystem::remove(path); }

  // Whether some other holder could take the lock right now.
  bool lockIsFree() {
    UsbDeviceLock probe(path);
    return probe.acquire();
  }

  const std::filesystem::path path = scratchLockPath("editors");
  DeviceState state;
  DeviceResponder device{state};
};

TEST_F(UsbDeviceLockTest, SecondEditorCannotOpenWhileTheFirstHoldsTheDevice) {
  Editor first(device, path);
  Editor second(device, path);
  ASSERT_TRUE(first.port.open(""));
  EXPECT_FALSE(second.port.open(""));
  EXPECT_EQ(second.backend.opens(), 0);  // it never touched the device
  EXPECT_TRUE(first.port.isDeviceOpen());

  first.port.close();
  EXPECT_TRUE(second.port.open(""));
}

TEST_F(UsbDeviceLockTest, LockIsHeldExactlyWhileTheLinkIsOpen) {
  Editor editor(device, path);
  EXPECT_TRUE(lockIsFree());
  ASSERT_TRUE(editor.port.open(""));
  EXPECT_FALSE(lockIsFree());
  editor.port.close();
  EXPECT_TRUE(lockIsFree());

  ASSERT_TRUE(editor.port.open(""));
  editor.port.shutdown();
  EXPECT_TRUE(lockIsFree());
}

TEST_F(UsbDeviceLockTest, FailedOpenLeavesTheDeviceFree) {
  Editor editor(device, path);
  editor.backend.setPresent(false);
  EXPECT_FALSE(editor.port.open(""));
  EXPECT_TRUE(lockIsFree());
}

// The lost link does not give the device up: the editor still holds it
// until it closes the link.
TEST_F(UsbDeviceLockTest, LostDeviceStaysTakenUntilTheLinkIsClosed) {
  Editor editor(device, path);
  ASSERT_TRUE(editor.port.open(""));
  editor.backend.unplug();
  editor.slot.withFrames([](SendData& transmit, SendData&) {
    transmit.set(FrameOffset::Cmd, 0xA2);
    transmit.finalise(0);
  });
  editor.port.signalWrite();
  ASSERT_TRUE(editor.notifier.waitFor(Message::LinkLost));
  EXPECT_FALSE(lockIsFree());
  editor.port.close();
  EXPECT_TRUE(lockIsFree());
}

// --- a crashed editor ----------------------------------------------------------
//
// The holder is a forked child that takes the lock with the editor's own
// lock class and is then killed with SIGKILL, so nothing of it can run on
// the way out. The fork happens before this test starts any thread, and the
// child only opens, locks, writes one byte and pauses, which is safe in the
// child of a single-threaded process (also under ThreadSanitizer).

[[noreturn]] void holdLockUntilKilled(const std::filesystem::path& path, int readyFd) {
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  UsbDeviceLock lock(path);
  const char answer = lock.acquire() ? 'L' : 'F';
  [[maybe_unused]] const auto written = ::write(readyFd, &answer, 1);
  for (;;) ::pause();
}

// Kills and reaps the child however the test ends.
class ChildProcess {
 public:
  explicit ChildProcess(pid_t pid) : pid_(pid) {}
  ~ChildProcess() { kill(); }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // True when it died of SIGKILL.
  bool kill() {
    if (pid_ <= 0) return false;
    ::kill(pid_, SIGKILL);
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
  }

 private:
  pid_t pid_;
};

TEST(UsbDeviceLockCrash, KilledHolderLeavesTheDeviceFree) {
  const std::filesystem::path path = scratchLockPath("crash");
  int ready[2];
  ASSERT_EQ(::pipe2(ready, O_CLOEXEC), 0);
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) holdLockUntilKilled(path, ready[1]);
  ChildProcess holder(pid);
  ::close(ready[1]);
  char answer = 0;
  const auto got = ::read(ready[0], &answer, 1);
  ::close(ready[0]);
  ASSERT_EQ(got, 1);
  ASSERT_EQ(answer, 'L');

  DeviceState state;
  DeviceResponder device{state};
  Editor editor(device, path);
  EXPECT_FALSE(editor.port.open(""));

  ASSERT_TRUE(holder.kill());
  EXPECT_TRUE(editor.port.open(""));
  editor.port.close();
  std::filesystem::remove(path);
}

}  // namespace
}  // namespace orvane
