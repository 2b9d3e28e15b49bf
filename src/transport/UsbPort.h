#pragma once

// The USB link: the device is a HID device, and a frame travels as 65-byte
// output reports (report ID 0, then the next 64 frame bytes, the last piece
// zero-filled); the reply comes back as 65-byte input reports whose 64 data
// bytes go to the slot's parser.
//
// One link thread moves the pieces. It is driven by its own events (write,
// read start, read done; the lowest set wins, after a park or stop request)
// and, between exchanges, waits at a gate that signalWrite() opens. A frame whose reply
// is missing is sent again; one whose reply is corrupt, or whose report
// could not be written or read while the device is still there, is sent
// again after the device was re-opened. The third failure gives the link
// up: the frame is retired, the worker released and the link-lost message
// posted. A device that disappears (a read or write finds it gone) is
// treated as unplugged at once: marked closed and reported lost once.
//
// Only one editor may hold the device: open() takes the USB device lock
// and keeps it until close().

#include <array>
#include <atomic>
#include <filesystem>
#include <mutex>
#include <string>

#include "platform/Event.h"
#include "platform/LinkThread.h"
#include "transport/HidBackend.h"
#include "transport/LinkContext.h"
#include "transport/Transport.h"
#include "transport/UsbDeviceLock.h"

namespace orvane {

class UsbPort : public Transport {
 public:
  // The KVS7304 as it shows itself on USB.
  static constexpr HidIdentity kDeviceIdentity{0x0483, 0x5750, 0x0200};

  // Starts the port's thread parked; the link stays closed until open().
  UsbPort(LinkContext context, HidBackend& backend,
          std::filesystem::path lockPath = UsbDeviceLock::defaultPath());
  ~UsbPort() override;
  UsbPort(const UsbPort&) = delete;
  UsbPort& operator=(const UsbPort&) = delete;

  // Takes the USB device lock and opens the first KVS7304 present. False,
  // with the lock released, when another editor holds the device or no
  // device can be opened. The address is not used.
  bool open(const std::string& address) override;
  LinkFault openFailure() const override;
  // Parks the thread, closes the device and releases the lock.
  void close() override;
  void signalWrite() override;
  // Ends the thread for good, then closes as close() does.
  void shutdown() override;

  // The device is open: false before open(), after close() and once the
  // device was found gone.
  bool isDeviceOpen() const { return deviceOpen_.load(); }
  // The path of the device interface last opened.
  std::string devicePath() const;

 private:
  enum PortEvent : std::size_t { Write, ReadStart, ReadDone, kEventCount };

  // The frame in flight, the port thread's own.
  struct Exchange {
    std::size_t offset = 0;  // where its next 64-byte piece begins
    bool lastPiece = false;  // its last piece is out: its reply is read next
    int attempts = 0;        // failed attempts at it so far
  };

  // The thread's body: serves the events until parked or stopped.
  void serve();
  void resetEvents();
  bool openDevice();
  void closeDevice();

  void writeNextPiece();
  void readReport();
  void takeReport();
  void replyMissing();
  void transferFailed(HidStatus status);
  void resendAfterReopen();
  // Counts a failed attempt at the frame in flight and readies it to be
  // sent again from its first piece; false when it was the last attempt.
  bool countFailedAttempt();
  void deviceGone();
  void giveUp();

  LinkContext context_;
  HidBackend& backend_;
  UsbDeviceLock deviceLock_;
  std::array<Event, kEventCount> events_;
  Event gate_;  // open while an exchange is in progress

  std::atomic<bool> deviceOpen_{false};
  mutable std::mutex pathMutex_;
  std::string devicePath_;

  // The port thread's own: the report being read and its byte count, and
  // the exchange (reset by open() while the thread is parked).
  HidReport input_{};
  std::size_t inputCount_ = 0;
  Exchange exchange_;
  // signalWrite() handed over a new frame: its exchange starts afresh.
  std::atomic<bool> newFrame_{false};

  mutable std::mutex callMutex_;  // one open/close/shutdown at a time
  LinkFault failure_;             // why the last open() failed; guarded by callMutex_
  bool shutDown_ = false;
  LinkThread thread_;
};

}  // namespace orvane
