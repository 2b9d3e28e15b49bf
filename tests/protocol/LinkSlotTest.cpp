#include <gtest/gtest.h>

#include <algorithm>

#include "LinkFixture.h"

namespace orvane::test {
namespace {

// Start-up program 5 from the device on the network link.
const Bytes kStartup5 = {
    0x5A, 0x5A, 0x5A, 0x88,  // sync, start
    0x53,                    // cmd: data reply
    0x03,                    // link: network
    0x2F,                    // nonce
    0x00,                    // device ID
    0x00,                    // value
    0x03,                    // block: system item
    0x18,                    // item 24: start-up program
    0x00, 0x00,              // row, reserved
    0x01,                    // length 1
    0x05,                    // payload: program 5
    0x60,                    // checksum
    0xAA,                    // end
};

// The same with program 9 and another nonce.
const Bytes kStartup9 = {
    0x5A, 0x5A, 0x5A, 0x88,  // sync, start
    0x53,                    // cmd: data reply
    0x03,                    // link: network
    0x30,                    // nonce
    0x00, 0x00,              // device ID, value
    0x03,                    // block: system item
    0x18,                    // item 24: start-up program
    0x00, 0x00,              // row, reserved
    0x01,                    // length 1
    0x09,                    // payload: program 9
    0x73,                    // checksum
    0xAA,                    // end
};

class LinkSlotTest : public LinkFixture {
 protected:
  void SetUp() override { putInFlight(); }
  int startupProgram() {
    return read([](const ImageData& d) { return static_cast<int>(d.system.startupProgram); });
  }
  void expectReceiveEmpty() {
    const SendData r = receive();
    EXPECT_EQ(r.rxCount, 0);
    EXPECT_FALSE(r.rxSynced);
    EXPECT_FALSE(r.rxBad);
  }
};

TEST_F(LinkSlotTest, TakesAGoodFrameAndEmptiesTheReceiveFrame) {
  EXPECT_EQ(parse(kStartup5), Outcome::Accepted);
  EXPECT_EQ(startupProgram(), 5);
  expectReceiveEmpty();
}

TEST_F(LinkSlotTest, GoodReplyRetiresTheFrameInFlight) {
  ASSERT_EQ(parse(kStartup5), Outcome::Accepted);
  const SendData t = transmit();
  EXPECT_FALSE(t.ready);
  EXPECT_EQ(t.at(0), 0x5A);
  EXPECT_EQ(t.at(1), 0x5A);
  EXPECT_EQ(t.at(2), 0x5A);
  EXPECT_EQ(t.at(3), 0x88);
  EXPECT_TRUE(std::all_of(t.bytes.begin() + 4, t.bytes.end(), [](std::uint8_t b) { return b == 0; }));
  EXPECT_EQ(t.progressPos, 0);
  EXPECT_FALSE(t.showProgress);
}

TEST_F(LinkSlotTest, IgnoresNoiseBeforeSync) {
  EXPECT_EQ(parse(concat({0x00, 0x11, 0x88, 0xAA, 0xFF}, kStartup5)), Outcome::Accepted);
  EXPECT_EQ(startupProgram(), 5);
}

TEST_F(LinkSlotTest, SyncsOnTheThirdSyncByteEvenWithNoiseBetween) {
  const Bytes bytes = {
      0x5A, 0x11, 0x5A, 0x22, 0x5A,  // three sync bytes, noise between them
      0x88,                          // start
      0x53, 0x03, 0x2F, 0x00, 0x00,  // data reply, network, nonce, device ID, value
      0x03, 0x18, 0x00, 0x00,        // system item 24, row, reserved
      0x01, 0x05,                    // length 1, program 5
      0x60, 0xAA,                    // checksum, end
  };
  EXPECT_EQ(parse(bytes), Outcome::Accepted);
  EXPECT_EQ(startupProgram(), 5);
}

TEST_F(LinkSlotTest, AssemblesAFrameReadOneByteAtATime) {
  // The serial transport feeds every byte it reads on its own.
  for (std::size_t i = 0; i + 1 < kStartup5.size(); ++i)
    ASSERT_EQ(parse({kStartup5[i]}), Outcome::Incomplete) << i;
  EXPECT_TRUE(inFlight());
  EXPECT_EQ(parse({kStartup5.back()}), Outcome::Accepted);
  EXPECT_EQ(startupProgram(), 5);
  EXPECT_FALSE(inFlight());
}

TEST_F(LinkSlotTest, AssemblesAFrameSplitAcrossReads) {
  EXPECT_EQ(parse(Bytes(kStartup5.begin(), kStartup5.begin() + 2)), Outcome::Incomplete);  // inside the sync
  EXPECT_EQ(parse(Bytes(kStartup5.begin() + 2, kStartup5.begin() + 14)),
            Outcome::Incomplete);  // to the length
  EXPECT_EQ(parse(Bytes(kStartup5.begin() + 14, kStartup5.begin() + 16)),
            Outcome::Incomplete);                                                       // payload, checksum
  EXPECT_EQ(parse(Bytes(kStartup5.begin() + 16, kStartup5.end())), Outcome::Accepted);  // end
  EXPECT_EQ(startupProgram(), 5);
}

TEST_F(LinkSlotTest, AssemblesAFrameSplitInTwoAtAnyByte) {
  // Header and payload are taken in pieces as long as a read gives: every
  // cut, inside the sync, the header or the payload, or before the checksum
  // or end byte, must give the same frame.
  for (std::size_t cut = 1; cut < kStartup5.size(); ++cut) {
    putInFlight();
    modify([](ImageData& d) { d.system.startupProgram = 0; });
    const auto at = kStartup5.begin() + static_cast<std::ptrdiff_t>(cut);
    ASSERT_EQ(parse(Bytes(kStartup5.begin(), at)), Outcome::Incomplete) << "cut at " << cut;
    ASSERT_EQ(parse(Bytes(at, kStartup5.end())), Outcome::Accepted) << "cut at " << cut;
    ASSERT_EQ(startupProgram(), 5) << "cut at " << cut;
    expectReceiveEmpty();
  }
}

TEST_F(LinkSlotTest, WrongChecksumCompletesAsBadAndKeepsTheFrameInFlight) {
  Bytes bytes = kStartup5;
  bytes[15] = 0x61;  // checksum off by one bit
  EXPECT_EQ(parse(bytes), Outcome::Refused);
  EXPECT_EQ(startupProgram(), 0);
  EXPECT_TRUE(inFlight());
  EXPECT_EQ(transmit().progressPos, 17);
  // The bad frame stays in the receive frame for the transport to look at.
  const SendData r = receive();
  EXPECT_EQ(r.rxCount, 17);
  EXPECT_EQ(r.cmd(), 0x53);
  EXPECT_EQ(r.checksum, 0x61);
  EXPECT_EQ(r.endByte, 0xAA);
}

TEST_F(LinkSlotTest, WrongEndByteCompletesAsBadAndKeepsTheFrameInFlight) {
  Bytes bytes = kStartup5;
  bytes[16] = 0x55;  // end byte
  EXPECT_EQ(parse(bytes), Outcome::Refused);
  EXPECT_EQ(startupProgram(), 0);
  EXPECT_TRUE(inFlight());
  EXPECT_EQ(receive().endByte, 0x55);
}

TEST_F(LinkSlotTest, AfterABadFrameNothingCompletesUntilTheReceiveFrameIsCleared) {
  Bytes bad = kStartup5;
  bad[15] = 0x00;
  ASSERT_EQ(parse(bad), Outcome::Refused);

  EXPECT_EQ(parse(kStartup9), Outcome::Incomplete);
  EXPECT_EQ(startupProgram(), 0);

  // The transport re-sends: the receive frame is emptied, the frame in flight stays.
  slot.clear(false);
  EXPECT_TRUE(inFlight());
  expectReceiveEmpty();
  EXPECT_EQ(parse(kStartup9), Outcome::Accepted);
  EXPECT_EQ(startupProgram(), 9);
  EXPECT_FALSE(inFlight());
}

TEST_F(LinkSlotTest, TakesAFrameWithoutPayload) {
  const Bytes bytes = {
      0x5A, 0x5A, 0x5A, 0x88,  // sync, start
      0x51,                    // cmd: completion reply
      0x03,                    // link: network
      0x11,                    // nonce
      0x00, 0x00, 0x00,        // device ID, value, block
      0x00, 0x00, 0x00,        // item, row, reserved
      0x00,                    // length 0
      0x43,                    // checksum: 51^03^11
      0xAA,                    // end
  };
  ASSERT_EQ(bytes.size(), 16u);
  EXPECT_EQ(parse(Bytes(bytes.begin(), bytes.end() - 1)), Outcome::Incomplete);
  EXPECT_EQ(parse({bytes.back()}), Outcome::Accepted);
  EXPECT_FALSE(inFlight());
  expectReceiveEmpty();
}

TEST_F(LinkSlotTest, TakesOnlyTheFirstOfTwoFramesInOneRead) {
  EXPECT_EQ(parse(concat(kStartup5, kStartup9)), Outcome::Accepted);
  EXPECT_EQ(startupProgram(), 5);
  // Nothing of the second frame was kept.
  expectReceiveEmpty();
  EXPECT_EQ(parse({}), Outcome::Incomplete);
  EXPECT_EQ(startupProgram(), 5);
}

TEST_F(LinkSlotTest, DiscardsTheZeroFillOfAUsbReport) {
  // A completion reply on USB, padded to the 64 data bytes of an input report.
  Bytes report = {
      0x5A, 0x5A, 0x5A, 0x88,  // sync, start
      0x51,                    // cmd: completion reply
      0x02,                    // link: USB
      0x5A,                    // nonce (the sync value, inside the frame)
      0x00, 0x00,              // device ID, value
      0x03,                    // block: system item
      0x33,                    // item 51
      0x00, 0x00,              // row, reserved
      0x00,                    // length 0
      0x39,                    // checksum
      0xAA,                    // end
  };
  report.resize(64, 0x00);
  EXPECT_EQ(parse(report), Outcome::Accepted);
  expectReceiveEmpty();
  EXPECT_EQ(parse(Bytes(64, 0x00)), Outcome::Incomplete);
  expectReceiveEmpty();
}

TEST_F(LinkSlotTest, AssemblesTheLongestFrameFromUsbReports) {
  // A 255-byte network name, whose last byte is the sync value.
  Bytes payload = repeated(254, 'N');
  payload.push_back(0x5A);
  const Bytes bytes = frame(
      {
          0x5A, 0x5A, 0x5A, 0x88,  // sync, start
          0x53,                    // cmd: data reply
          0x02,                    // link: USB
          0x19,                    // nonce
          0x00, 0x00,              // device ID, value
          0x03,                    // block: system item
          0x33,                    // item 51: network name
          0x00, 0x00,              // row, reserved
          0xFF,                    // length 255
      },
      payload,
      0xDD);  // checksum: the even run of 'N' cancels out
  ASSERT_EQ(bytes.size(), 271u);

  for (std::size_t at = 0; at < bytes.size(); at += 64) {
    Bytes piece(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                bytes.begin() + static_cast<std::ptrdiff_t>(std::min(at + 64, bytes.size())));
    piece.resize(64, 0x00);
    const Outcome expected = at + 64 >= bytes.size() ? Outcome::Accepted : Outcome::Incomplete;
    ASSERT_EQ(parse(piece), expected) << "piece at " << at;
  }
  const std::string name = read([](const ImageData& d) { return d.system.networkName; });
  ASSERT_EQ(name.size(), 255u);
  EXPECT_EQ(name.substr(0, 254), std::string(254, 'N'));
  EXPECT_EQ(name.back(), 0x5A);
}

TEST_F(LinkSlotTest, ReplyKindComesFromTheFrameInFlight) {
  // The "no name set" reply is good only as the answer to a name read.
  const Bytes noName = {
      0x5A, 0x5A, 0x5A, 0x88,  // sync, start
      0x52,                    // cmd: no-name reply
      0x03,                    // link: network
      0x42,                    // nonce
      0x00, 0x00,              // device ID, value
      0x03,                    // block: system item
      0x33,                    // item 51: network name
      0x00, 0x00,              // row, reserved
      0x00,                    // length 0
      0x23,                    // checksum
      0xAA,                    // end
  };
  EXPECT_EQ(parse(noName), Outcome::Refused);

  slot.clear(true);
  putInFlight({.replyKind = ReplyKind::NetworkNameRead});
  EXPECT_EQ(parse(noName), Outcome::Accepted);
}

}  // namespace
}  // namespace orvane::test
