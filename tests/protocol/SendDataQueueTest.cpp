#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "protocol/SendDataQueue.h"

namespace orvane {
namespace {

// A queued frame told apart by its item byte.
std::unique_ptr<SendData> frameForItem(std::uint8_t item) {
  auto frame = std::make_unique<SendData>();
  frame->set(FrameOffset::Cmd, 0xA2);
  frame->set(FrameOffset::Block, 0x03);
  frame->set(FrameOffset::Item, item);
  frame->set(FrameOffset::Length, 0x08);
  frame->finalise(0);
  return frame;
}

TEST(SendDataQueueTest, HandsOutFramesInTheOrderTheyWereQueued) {
  SendDataQueue queue;
  EXPECT_TRUE(queue.isEmpty());
  queue.append(frameForItem(4));
  queue.append(frameForItem(51));
  queue.append(frameForItem(0));
  EXPECT_FALSE(queue.isEmpty());
  EXPECT_EQ(queue.size(), 3u);

  SendData transmit;
  ASSERT_TRUE(queue.takeNext(transmit));
  EXPECT_EQ(transmit.item(), 4);
  ASSERT_TRUE(queue.takeNext(transmit));
  EXPECT_EQ(transmit.item(), 51);
  ASSERT_TRUE(queue.takeNext(transmit));
  EXPECT_EQ(transmit.item(), 0);
  EXPECT_TRUE(queue.isEmpty());
}

TEST(SendDataQueueTest, TakeNextCopiesTheFrameWithItsBookkeeping) {
  SendDataQueue queue;
  auto frame = std::make_unique<SendData>();
  frame->set(FrameOffset::Cmd, 0xA1);
  frame->set(FrameOffset::Link, 0x01);
  frame->set(FrameOffset::DeviceId, 0xFA);
  frame->set(FrameOffset::Block, 0x03);
  frame->set(FrameOffset::Item, 0x33);
  frame->set(FrameOffset::Length, 0x02);
  frame->set(FrameOffset::Payload, 'O');
  frame->set(FrameOffset::Payload + 1, 'K');
  frame->finalise(0x21);
  frame->progressPos = 250;
  frame->showProgress = true;
  frame->lastOfTransfer = true;
  frame->idProbe = true;
  frame->replyKind = ReplyKind::NetworkFactoryReset;
  queue.append(std::move(frame));

  // The transmit frame still carries the previous frame; none of it may
  // leak into the next one.
  SendData transmit;
  transmit.lastOfTransfer = false;
  transmit.startsConnectionCheck = true;
  transmit.set(200, 0x77);

  ASSERT_TRUE(queue.takeNext(transmit));
  const std::vector<std::uint8_t> expected = {
      0x5A, 0x5A, 0x5A, 0x88,  // sync, start
      0xA1,                    // cmd: write
      0x01,                    // link: serial
      0x21,                    // nonce
      0xFA,                    // device ID 250
      0x00,                    // value
      0x03,                    // block: system item
      0x33,                    // item 51
      0x00, 0x00,              // row, reserved
      0x02,                    // length 2
      'O',  'K',               // payload
      0x4D,                    // checksum: A1^01^21^FA^03^33^02^'O'^'K'
      0xAA,                    // end
  };
  EXPECT_EQ(std::vector<std::uint8_t>(transmit.wire().begin(), transmit.wire().end()), expected);
  EXPECT_EQ(transmit.at(200), 0x00);
  EXPECT_TRUE(transmit.ready);
  EXPECT_EQ(transmit.progressPos, 250);
  EXPECT_TRUE(transmit.showProgress);
  EXPECT_TRUE(transmit.lastOfTransfer);
  EXPECT_TRUE(transmit.idProbe);
  EXPECT_EQ(transmit.replyKind, ReplyKind::NetworkFactoryReset);
  EXPECT_FALSE(transmit.startsConnectionCheck);
}

TEST(SendDataQueueTest, EmptyQueueLeavesTheTransmitFrameAlone) {
  SendDataQueue queue;
  SendData transmit;
  transmit.set(FrameOffset::Item, 0x03);
  transmit.ready = true;
  EXPECT_FALSE(queue.takeNext(transmit));
  EXPECT_EQ(transmit.item(), 0x03);
  EXPECT_TRUE(transmit.ready);
}

TEST(SendDataQueueTest, RemoveAllDropsEveryFrame) {
  SendDataQueue queue;
  for (std::uint8_t item = 0; item < 5; ++item) queue.append(frameForItem(item));
  queue.removeAll();
  EXPECT_TRUE(queue.isEmpty());
  EXPECT_EQ(queue.size(), 0u);
  SendData transmit;
  EXPECT_FALSE(queue.takeNext(transmit));

  queue.append(frameForItem(9));
  ASSERT_TRUE(queue.takeNext(transmit));
  EXPECT_EQ(transmit.item(), 9);
}

TEST(SendDataQueueTest, KeepsOrderWhileFramesArriveFromAnotherThread) {
  // The user-interface thread queues a transfer while the worker drains it.
  constexpr int kFrames = 2000;
  SendDataQueue queue;
  std::thread builder([&] {
    for (int i = 0; i < kFrames; ++i) {
      auto frame = std::make_unique<SendData>();
      frame->progressPos = static_cast<std::int16_t>(i);
      queue.append(std::move(frame));
    }
  });
  std::vector<int> taken;
  SendData transmit;
  while (static_cast<int>(taken.size()) < kFrames)
    if (queue.takeNext(transmit)) taken.push_back(transmit.progressPos);
  builder.join();

  ASSERT_EQ(static_cast<int>(taken.size()), kFrames);
  for (int i = 0; i < kFrames; ++i) ASSERT_EQ(taken[static_cast<std::size_t>(i)], i);
  EXPECT_TRUE(queue.isEmpty());
}

}  // namespace
}  // namespace orvane
