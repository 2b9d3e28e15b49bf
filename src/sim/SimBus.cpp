#include "sim/SimBus.h"

#include "sim/SerialBusServer.h"

namespace orvane {

namespace {

class PseudoTerminalBus final : public SimBus {
 public:
  PseudoTerminalBus(std::span<DeviceResponder* const> devices, std::chrono::milliseconds delay) {
    for (DeviceResponder* device : devices) server_.addDevice(*device);
    server_.setReplyDelay(delay);
  }

  std::string path() const override { return server_.devicePath(); }
  void stop() override { server_.stop(); }

 private:
  SerialBusServer server_;
};

}  // namespace

std::string_view SimBus::unavailable() {
  return {};
}

std::unique_ptr<SimBus> SimBus::start(std::span<DeviceResponder* const> devices,
                                      std::chrono::milliseconds delay) {
  return std::make_unique<PseudoTerminalBus>(devices, delay);
}

}  // namespace orvane
