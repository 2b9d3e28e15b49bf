// The USB link's own parts in the Windows build: the mark that an editor
// holds the device (a mutex of the session, shown by the registry value
// USB), which a crashed editor must not leave behind, and the HID services'
// device list, which under Wine holds its virtual mouse and keyboard where
// its bus offers them.

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>

#include "support/LinkParts.h"
#include "transport/UsbPort.h"
#include "transport/windows/DeviceInterfaces.h"
#include "transport/windows/WinHidBackend.h"

extern "C" {
#include <hidsdi.h>
}

namespace orvane {
namespace {

constexpr const wchar_t* kKey = L"Software\\KVS7304";
constexpr const char* kHolderVariable = "ORVANE_TEST_USB_HOLDER";

std::optional<DWORD> usbValue() {
  DWORD value = 0;
  DWORD size = sizeof value;
  if (::RegGetValueW(HKEY_CURRENT_USER, kKey, L"USB", RRF_RT_REG_DWORD, nullptr, &value, &size) !=
      ERROR_SUCCESS)
    return std::nullopt;
  return value;
}

void setUsbValue(DWORD value) {
  ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"USB", REG_DWORD, &value, sizeof value),
            ERROR_SUCCESS);
}

// A lock name of this test run's own, so that runs side by side do not meet.
std::filesystem::path lockName(const std::string& what) {
  return "Local\\orvane-test-" + what + "-" + std::to_string(::GetCurrentProcessId());
}

TEST(WindowsUsbDeviceLock, TheMutexDecidesAndTheRegistryValueFollowsIt) {
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
  ::RegDeleteKeyW(HKEY_CURRENT_USER, kKey);
  UsbDeviceLock first(lockName("one"));
  // The first start creates the key with the device free; later starts
  // leave it as it is.
  EXPECT_EQ(usbValue(), 0u);
  setUsbValue(1);
  UsbDeviceLock second(first.path());
  EXPECT_EQ(usbValue(), 1u);

  // A 1 that nobody holds (an editor crashed) does not lock the device out.
  ASSERT_TRUE(first.acquire());
  EXPECT_TRUE(first.acquire());
  EXPECT_EQ(usbValue(), 1u);
  EXPECT_FALSE(second.acquire());
  EXPECT_FALSE(second.held());
  EXPECT_EQ(second.problem(), "another program of yours holds the USB device");

  first.release();
  EXPECT_EQ(usbValue(), 0u);
  ASSERT_TRUE(second.acquire());
  EXPECT_TRUE(second.problem().empty());
  EXPECT_EQ(usbValue(), 1u);
  EXPECT_FALSE(first.acquire());
  second.release();
  EXPECT_EQ(usbValue(), 0u);
}

// Run only as the child of the test below: takes the lock it is named and
// keeps it until killed.
TEST(WindowsUsbDeviceLockHolder, HoldsTheDeviceUntilKilled) {
  const char* name = std::getenv(kHolderVariable);
  if (name == nullptr) GTEST_SKIP() << "the child of KilledHolderLeavesTheDeviceFree";
  UsbDeviceLock lock{std::string(name)};
  ASSERT_TRUE(lock.acquire());
  const HANDLE ready = ::CreateEventA(nullptr, TRUE, FALSE, (std::string(name) + "-ready").c_str());
  ::SetEvent(ready);
  ::Sleep(INFINITE);
}

TEST(WindowsUsbDeviceLock, KilledHolderLeavesTheDeviceFree) {
  const std::string name = lockName("killed").string();
  const HANDLE ready = ::CreateEventA(nullptr, TRUE, FALSE, (name + "-ready").c_str());
  ASSERT_NE(ready, nullptr);
  std::array<char, MAX_PATH> program{};
  ::GetModuleFileNameA(nullptr, program.data(), program.size());
  std::string command = std::string("\"") + program.data() + "\" --gtest_filter=WindowsUsbDeviceLockHolder.*";
  ::SetEnvironmentVariableA(kHolderVariable, name.c_str());
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION child{};
  const bool started = ::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                                        nullptr, nullptr, &startup, &child);
  ::SetEnvironmentVariableA(kHolderVariable, nullptr);
  ASSERT_TRUE(started);
  const HANDLE waited[] = {ready, child.hProcess};
  ASSERT_EQ(::WaitForMultipleObjects(2, waited, FALSE, 60000), WAIT_OBJECT_0) << "the holder did not start";

  UsbDeviceLock lock{name};
  EXPECT_FALSE(lock.acquire());
  EXPECT_EQ(usbValue(), 1u);
  ::TerminateProcess(child.hProcess, 1);
  ::WaitForSingleObject(child.hProcess, INFINITE);
  // The registry still says taken; the device is free all the same.
  EXPECT_EQ(usbValue(), 1u);
  EXPECT_TRUE(lock.acquire());
  lock.release();
  ::CloseHandle(child.hProcess);
  ::CloseHandle(child.hThread);
  ::CloseHandle(ready);
}

// Waits for changes of the device interfaces the set-up services list:
// each interface is a key under DeviceClasses, and it is switched on by a
// value written there, so a change notice on that tree is an arrival.
class InterfaceArrivals {
 public:
  InterfaceArrivals() {
    ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\DeviceClasses", 0, KEY_NOTIFY,
                    &classes_);
  }
  ~InterfaceArrivals() {
    if (classes_ != nullptr) ::RegCloseKey(classes_);
    ::CloseHandle(changed_);
  }
  InterfaceArrivals(const InterfaceArrivals&) = delete;
  InterfaceArrivals& operator=(const InterfaceArrivals&) = delete;

  // Asks to be told of the next change; call before looking, so that a
  // change while looking is not missed.
  bool arm() {
    ::ResetEvent(changed_);
    return classes_ != nullptr &&
           ::RegNotifyChangeKeyValue(classes_, TRUE, REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET,
                                     changed_, TRUE) == ERROR_SUCCESS;
  }
  // Whether a change came before `deadline`.
  bool wait(std::chrono::steady_clock::time_point deadline) const {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return left.count() > 0 &&
           ::WaitForSingleObject(changed_, static_cast<DWORD>(left.count())) == WAIT_OBJECT_0;
  }

 private:
  HKEY classes_ = nullptr;
  HANDLE changed_ = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
};

// Wine offers a virtual keyboard and mouse (vendor 845E) as its HID
// devices, and no KVS7304. Its bus adds them a while after a session of the
// prefix starts, so the first test of a session waits for their arrival.
std::vector<HidDeviceInfo> listedDevices(WinHidBackend& backend) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  InterfaceArrivals arrivals;
  for (;;) {
    const bool armed = arrivals.arm();
    std::vector<HidDeviceInfo> devices = backend.enumerate();
    if (!devices.empty() || !armed || !arrivals.wait(deadline)) return devices;
  }
}

// How many HID interfaces the set-up services list, whether or not they
// answer: tells an empty bus from devices that would not open.
int listedInterfaces() {
  GUID hidClass{};
  ::HidD_GetHidGuid(&hidClass);
  DeviceInterfaces interfaces(hidClass);
  int count = 0;
  while (interfaces.next()) ++count;
  return count;
}

TEST(WinHidBackend, TheListedDevicesOpenAndTheirTransfersEndInTime) {
  WinHidBackend backend;
  const std::vector<HidDeviceInfo> devices = listedDevices(backend);
  // Some Wine set-ups offer no HID device at all; there is nothing to open.
  if (devices.empty())
    GTEST_SKIP() << "Wine lists no HID device that answers (" << listedInterfaces()
                 << " HID interfaces listed)";
  HidReport report{};
  for (const HidDeviceInfo& device : devices) {
    EXPECT_NE(device.identity, UsbPort::kDeviceIdentity) << device.path;
    ASSERT_TRUE(backend.open(device.path)) << device.path;
    // Nothing moves a virtual mouse: the read times out and is cancelled.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(backend.read(report, std::chrono::milliseconds(50)).status, HidStatus::TimedOut) << device.path;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    // It takes no output report, and it is still there.
    report.fill(0);
    EXPECT_EQ(backend.write(report), HidStatus::Failed) << device.path;
  }
  backend.close();
  EXPECT_EQ(backend.write(report), HidStatus::Gone);
}

TEST(WinHidBackend, WithoutItsDeviceTheUsbLinkSaysWhyAndLeavesTheDeviceFree) {
  WinHidBackend backend;
  HidReport report{};
  EXPECT_EQ(backend.write(report), HidStatus::Gone);
  EXPECT_EQ(backend.read(report, std::chrono::milliseconds(10)).status, HidStatus::Gone);
  EXPECT_FALSE(backend.open("\\\\?\\hid#vid_0483&pid_5750#none"));

  LinkParts parts;
  UsbPort port(parts.context(), systemHidBackend(), lockName("port"));
  EXPECT_FALSE(port.open(""));
  EXPECT_EQ(port.openFailure().cause, LinkFault::Cause::NoUsbDevice);
  UsbDeviceLock other(lockName("port"));
  EXPECT_TRUE(other.acquire());
}

}  // namespace
}  // namespace orvane
