#pragma once

// The device's side of the protocol: takes one request frame as it arrived
// on a link and gives the one frame the device sends back, changing the
// device state as the request asks. A request that fails its check, or that
// is addressed to another device on the RS-485 bus, gets no answer; the
// editor then sends it again.
//
// Every answer echoes the request's link, device ID, program, block, item
// and row, and carries a fresh nonce. Writes are acknowledged with an empty
// data reply: an acknowledgement that echoed a row's bytes would land at the
// start of the editor's copy of the block.
//
// Safe to call from several transport threads at once.

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

#include "sim/DeviceState.h"
#include "sim/FaultPlan.h"

namespace orvane {

struct SendData;

class DeviceResponder {
 public:
  using Frame = std::vector<std::uint8_t>;
  // Gives the nonce of each reply; called under the responder's lock.
  using NonceSource = std::function<std::uint8_t()>;

  // Replies carry pseudo-random nonces 0..100.
  explicit DeviceResponder(DeviceState& state);
  DeviceResponder(DeviceState& state, NonceSource nonces);
  DeviceResponder(const DeviceResponder&) = delete;
  DeviceResponder& operator=(const DeviceResponder&) = delete;

  // The wire bytes of the reply to `request`, or nothing when the device
  // stays silent. Bytes after the request's end byte (the network link's
  // trailing zero, the zero fill of a USB report) are ignored.
  std::optional<Frame> respond(std::span<const std::uint8_t> request);

  void setFaults(const FaultPlan& plan);
  FaultPlan faults() const;

  // What the device has answered since it was made, whatever fault plans
  // came and went: the figures of a soak run.
  struct Counts {
    long replies = 0;    // replies made, the corrupted and dropped ones included
    long corrupted = 0;  // sent with a wrong checksum
    long dropped = 0;    // never sent
  };
  Counts counts() const;

  // Called with every sound request, addressed to this device or not, on
  // the thread that delivered it (the simulator's log; tests watch the
  // order of requests with it).
  using RequestObserver = std::function<void(const SendData& request)>;
  void setRequestObserver(RequestObserver observer);

 private:
  // Gives a fully built reply its nonce, checksum and end byte, then lets
  // the fault plan drop or corrupt it.
  std::optional<Frame> seal(SendData& reply);
  RequestObserver requestObserver() const;

  DeviceState& state_;
  mutable std::mutex mutex_;  // guards the members below
  NonceSource nonces_;
  FaultPlan faults_;
  RequestObserver observer_;
  long replies_ = 0;  // replies made since the fault plan was set
  Counts counts_;
};

}  // namespace orvane
