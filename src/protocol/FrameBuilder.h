#pragma once

// Fills frames from the fields the device protocol gives each kind of
// request. Unless a request says otherwise its payload is eight zero bytes.

#include <memory>
#include <span>

#include "protocol/NonceSource.h"
#include "protocol/SendData.h"

namespace orvane {

struct FrameHeader {
  FrameCode cmd = FrameCode::CmdRead;
  std::uint8_t link = 0;
  std::uint8_t deviceId = 0;
  std::uint8_t value = 0;
  std::uint8_t block = 0;
  std::uint8_t item = 0;
  std::uint8_t row = 0;
};

class FrameBuilder {
 public:
  static constexpr std::size_t kDefaultLength = 8;

  explicit FrameBuilder(NonceSource& nonces) : nonces_(nonces) {}

  // A new frame with eight zero payload bytes.
  std::unique_ptr<SendData> make(const FrameHeader& header) const;
  // A new frame carrying `payload` (at most 255 bytes).
  std::unique_ptr<SendData> make(const FrameHeader& header, std::span<const std::uint8_t> payload) const;
  // Rewrites `frame` in place (the worker builds straight into a link's
  // transmit frame).
  void fill(SendData& frame, const FrameHeader& header, std::span<const std::uint8_t> payload) const;

 private:
  NonceSource& nonces_;
};

}  // namespace orvane
