#pragma once

// The simulated RS-485 bus: a pseudo-terminal whose far end the editor opens
// as its serial port. Several simulated devices share the bus, each under
// its own device ID; every request frame on the bus reaches every device,
// and the one it is addressed to answers. The bus's own thread listens on
// the near end, picks the request frames out of the byte stream (ignoring
// noise between them) and writes the answer back.
//
// The bus keeps the far end open itself as well, so the terminal stays up
// while no editor is attached and an editor may detach and attach again.

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "platform/Event.h"
#include "sim/DeviceResponder.h"

namespace orvane {

class SerialBusServer {
 public:
  using Frame = std::vector<std::uint8_t>;
  // A device on the bus: its answer to a request it heard, or nothing.
  using Device = std::function<std::optional<Frame>(std::span<const std::uint8_t> request)>;

  // Opens the pseudo-terminal and starts listening. Throws std::system_error
  // when the system gives no pseudo-terminal.
  SerialBusServer();
  ~SerialBusServer();
  SerialBusServer(const SerialBusServer&) = delete;
  SerialBusServer& operator=(const SerialBusServer&) = delete;

  // The path the editor opens as its serial port.
  const std::string& devicePath() const { return devicePath_; }

  // Puts a device on the bus; the responder must outlive the bus.
  void addDevice(DeviceResponder& responder);
  void addDevice(Device device);
  // How long a device takes before it answers (none by default).
  void setReplyDelay(std::chrono::milliseconds delay);

  // Takes the bus down: an editor still attached sees its port hang up.
  // Safe to call more than once.
  void stop();

 private:
  void openTerminal();
  void closeTerminal();
  void run();
  void answer(std::span<const std::uint8_t> request);
  bool writeReply(std::span<const std::uint8_t> reply);

  int master_ = -1;
  int farEnd_ = -1;  // our own hold on the editor's end
  std::string devicePath_;
  Event stop_;
  std::mutex mutex_;  // guards devices_
  std::vector<Device> devices_;
  std::atomic<long long> replyDelayMs_{0};
  // A plain thread, not a LinkThread: the bus is a peer that serves from
  // construction to stop() and is never parked.
  std::thread thread_;
};

}  // namespace orvane
