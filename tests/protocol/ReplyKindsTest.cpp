#include <gtest/gtest.h>

#include "FrameBytes.h"
#include "protocol/ReplyKinds.h"

namespace orvane {
namespace {

using test::Bytes;

// A request header from byte 4 on: cmd, link, nonce, device ID, value,
// block, item, row, reserved, length 0; then checksum and end.
Bytes request(std::uint8_t cmd, std::uint8_t block, std::uint8_t item) {
  return {0x5A, 0x5A, 0x5A, 0x88, cmd, 0x03, 0x00, 0x01, 0x00, block, item, 0x00, 0x00, 0x00, 0x00, 0xAA};
}

TEST(ReplyKindsTest, WhatARequestWaitsForAndWhichRestartTheNetworkModule) {
  struct Case {
    Bytes frame;
    ReplyKind kind;
    bool restarts;
  };
  const Case cases[] = {
      {request(0xA2, 0x03, 0x33), ReplyKind::NetworkNameRead, false},       // read item 51: network name
      {request(0xA1, 0x03, 0x33), ReplyKind::NetworkNameWrite, true},       // write item 51: rename
      {request(0xA1, 0x03, 0x31), ReplyKind::NetworkFactoryReset, true},    // write item 49: factory reset
      {request(0xA2, 0x03, 0x31), ReplyKind::None, false},                  // reading item 49 resets nothing
      {request(0xA1, 0x01, 0x33), ReplyKind::None, false},                  // block 1: input channel 51
      {request(0xA2, 0x03, 0x03), ReplyKind::None, false},                  // level poll
      {Bytes{0x5A, 0x5A, 0x5A, 0x88, 0xA1, 0x03}, ReplyKind::None, false},  // cut short before the item
  };
  for (const Case& c : cases) {
    EXPECT_EQ(replyKindOf(c.frame), c.kind) << testing::PrintToString(c.frame);
    EXPECT_EQ(restartsNetworkModule(c.kind), c.restarts);
  }
}

}  // namespace
}  // namespace orvane
