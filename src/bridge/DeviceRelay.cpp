#include "bridge/DeviceRelay.h"

#include <algorithm>

#include "protocol/ReplyKinds.h"
#include "transport/HidBackend.h"
#include "transport/SerialPort.h"
#include "transport/UsbPort.h"

namespace orvane {

namespace {

// Sets one byte of a whole wire frame and mends its checksum by the same
// change, so a frame keeps passing (or failing) its check as it did.
void patch(DeviceRelay::Frame& frame, std::size_t offset, std::uint8_t value) {
  frame[frame.size() - 2] ^= static_cast<std::uint8_t>(frame[offset] ^ value);
  frame[offset] = value;
}

}  // namespace

DeviceRelay::DeviceRelay(const ConnectTarget& device, BridgeLog& log, const Timings& timings)
    : device_(device), timings_(timings), notifier_(log) {
  const LinkContext context{slot_, relay_, replyEvent_, notifier_, timings_, hooks_};
  if (device_.link == LinkType::Serial) {
    transport_ = std::make_unique<SerialPort>(context);
  } else {
    transport_ = std::make_unique<UsbPort>(context, systemHidBackend());
  }
}

DeviceRelay::~DeviceRelay() {
  transport_->shutdown();
}

bool DeviceRelay::open() {
  close();
  notifier_.lost().reset();
  open_ = transport_->open(device_.address);
  return open_;
}

LinkFault DeviceRelay::openFailure() const {
  LinkFault fault = transport_->openFailure();
  fault.deviceId = device_.deviceId;
  return fault;
}

LinkFault DeviceRelay::silence() const {
  const auto cause =
      device_.link == LinkType::Serial ? LinkFault::Cause::NoAnswer : LinkFault::Cause::NotReady;
  return LinkFault{cause, device_.link, device_.address, device_.deviceId};
}

void DeviceRelay::close() {
  if (!open_) return;
  transport_->close();
  slot_.clear(true);
  relay_.take();
  open_ = false;
}

std::string DeviceRelay::description() const {
  if (device_.link == LinkType::Usb) return "USB";
  return "serial " + device_.address + ", ID " + std::to_string(device_.deviceId);
}

void DeviceRelay::send(const Frame& request) {
  clientLink_ = request[FrameOffset::Link];
  clientId_ = request[FrameOffset::DeviceId];
  Frame frame = request;
  patch(frame, FrameOffset::Link, static_cast<std::uint8_t>(device_.link));
  patch(frame, FrameOffset::DeviceId,
        device_.link == LinkType::Serial ? static_cast<std::uint8_t>(device_.deviceId) : 0);
  relay_.take();
  slot_.clear(true);
  slot_.withFrames([&](SendData& transmit, SendData&) {
    std::ranges::copy(frame, transmit.bytes.begin());
    transmit.replyKind = replyKindOf(frame);
    transmit.ready = true;
  });
  replyEvent_.reset();
  transport_->signalWrite();
}

std::optional<DeviceRelay::Frame> DeviceRelay::takeReply() {
  std::optional<Frame> reply = relay_.take();
  if (reply) {
    patch(*reply, FrameOffset::Link, clientLink_);
    patch(*reply, FrameOffset::DeviceId, clientId_);
  }
  return reply;
}

}  // namespace orvane
