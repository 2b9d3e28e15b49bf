// Only one editor holds the USB device at a time, an editor that dies does
// not keep it, and no other user can take the lock file's place.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>

#include "model/ParameterImage.h"
#include "protocol/ReplyDispatcher.h"
#include "sim/MemoryHidBackend.h"
#include "support/LinkParts.h"
#include "support/ScratchDir.h"
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

// --- where the lock file lives -------------------------------------------------

TEST(UsbDeviceLockFolder, DefaultPathIsInAFolderOfTheUsersOwn) {
  const char* saved = std::getenv("XDG_RUNTIME_DIR");
  const std::optional<std::string> runtime = saved ? std::optional<std::string>(saved) : std::nullopt;
  const std::string own = "/tmp/orvane-" + std::to_string(::getuid()) + "/usb.lock";
  for (const auto& [value, expected] :
       {std::pair<const char*, std::string>{"/run/user/7", "/run/user/7/orvane-usb.lock"},
        {"run/user/7", own},
        {"", own},
        {nullptr, own}}) {
    if (value)
      ::setenv("XDG_RUNTIME_DIR", value, 1);
    else
      ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(UsbDeviceLock::defaultPath(), expected) << (value ? value : "unset");
  }
  if (runtime)
    ::setenv("XDG_RUNTIME_DIR", runtime->c_str(), 1);
  else
    ::unsetenv("XDG_RUNTIME_DIR");
}

// Each case prepares the lock's folder and names what acquire() says: empty
// when it takes the lock. Cases that give a file to another user need root.
TEST(UsbDeviceLockFolder, OnlyAFolderNoOtherUserCanWriteInHoldsTheLock) {
  namespace fs = std::filesystem;
  const auto ownFolder = [](fs::perms mode) {
    return [mode](const fs::path& folder) {
      fs::create_directory(folder);
      fs::permissions(folder, mode);
    };
  };
  const auto giveAway = [](const fs::path& path) {
    std::ofstream{path, std::ios::app};
    EXPECT_EQ(::chown(path.c_str(), 65534, 65534), 0) << path;
  };
  struct Case {
    const char* name;
    std::function<void(const fs::path&)> prepare;
    const char* problem;
    bool needsRoot = false;
  };
  const Case cases[] = {
      {"missing", [](const fs::path&) {}, ""},
      {"own, others read", ownFolder(fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read),
       ""},
      {"own, others write", ownFolder(fs::perms::all), "other users may write in the folder"},
      {"own, group writes", ownFolder(fs::perms::owner_all | fs::perms::group_all), "(mode 0770)"},
      {"a link to an own folder",
       [](const fs::path& folder) {
         fs::create_directory(folder.string() + "-real");
         fs::permissions(folder.string() + "-real", fs::perms::owner_all);
         fs::create_directory_symlink(folder.string() + "-real", folder);
       },
       "is a symbolic link or no folder"},
      {"a file", [](const fs::path& folder) { std::ofstream{folder}; }, "is a symbolic link or no folder"},
      {"the lock file a link",
       [&](const fs::path& folder) {
         ownFolder(fs::perms::owner_all)(folder);
         fs::create_symlink(folder / "elsewhere", folder / "usb.lock");
       },
       "cannot open the USB device lock file"},
      {"another user's folder",
       [&](const fs::path& folder) {
         ownFolder(fs::perms::owner_all)(folder);
         giveAway(folder);
       },
       "belongs to another user (UID 65534)", true},
      // Shared like /tmp: the sticky bit, owned by root.
      {"another user's lock file in a shared folder",
       [&](const fs::path& folder) {
         ownFolder(fs::perms::all | fs::perms::sticky_bit)(folder);
         giveAway(folder / "usb.lock");
       },
       "is not a file of yours", true},
  };
  for (const Case& c : cases) {
    if (c.needsRoot && ::getuid() != 0) continue;
    ScratchDir scratch{"orvane-usb-lock-folder"};
    const fs::path folder = scratch.file("lock");
    c.prepare(folder);
    UsbDeviceLock lock(folder / "usb.lock");
    EXPECT_EQ(lock.acquire(), std::string(c.problem).empty()) << c.name;
    EXPECT_NE(lock.problem().find(c.problem), std::string::npos) << c.name << ": " << lock.problem();
    if (std::string(c.name) == "missing") {
      EXPECT_EQ(fs::status(folder).permissions(), fs::perms::owner_all);
    }
  }
}

TEST(UsbDeviceLockFolder, ASecondHolderIsToldTheDeviceIsTaken) {
  ScratchDir scratch{"orvane-usb-lock-held"};
  UsbDeviceLock first(std::filesystem::path(scratch.file("lock")) / "usb.lock");
  UsbDeviceLock second(first.path());
  ASSERT_TRUE(first.acquire()) << first.problem();
  EXPECT_FALSE(second.acquire());
  EXPECT_EQ(second.problem(), "another program of yours holds the USB device");
  first.release();
  EXPECT_TRUE(second.acquire());
  EXPECT_EQ(second.problem(), "");
}

}  // namespace
}  // namespace orvane
