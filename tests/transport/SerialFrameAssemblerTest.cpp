// How a device on the bus finds request frames in what it hears.

#include <gtest/gtest.h>

#include "protocol/FrameAssembler.h"
#include "transport/SerialTestPeer.h"

namespace orvane {
namespace {

using test::Bytes;
using test::kProbe3;

// A level poll of device 17 with no payload, 16 bytes.
const Bytes kPoll17{
    0x5A, 0x5A, 0x5A, 0x88,  // sync, start
    0xA2,                    // cmd: read
    0x01,                    // link: serial
    0x00,                    // nonce
    0x11,                    // device ID 17
    0x00,                    // value
    0x03,                    // block: system item
    0x03,                    // item 3: levels
    0x00, 0x00,              // row, reserved
    0x00,                    // length 0
    0xB2,                    // checksum: A2^01^11^03^03
    0xAA,                    // end
};

Bytes join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

TEST(FrameAssembler, FramesArrivingInPiecesAreJoined) {
  FrameAssembler assembler;
  EXPECT_TRUE(assembler.push(std::span(kProbe3).first(3)).empty());
  EXPECT_TRUE(assembler.push(std::span(kProbe3).subspan(3, 12)).empty());
  EXPECT_TRUE(assembler.holdsPartial());
  EXPECT_EQ(assembler.push(std::span(kProbe3).subspan(15)), std::vector<Bytes>{kProbe3});
  EXPECT_FALSE(assembler.holdsPartial());
}

TEST(FrameAssembler, NoiseBeforeAndBetweenFramesIsDropped) {
  FrameAssembler assembler;
  const Bytes noise{0x00, 0xFF, 0x5A, 0x11, 0x5A, 0x5A, 0x88, 0x13};
  const Bytes heard = join({noise, kProbe3, {0x5A, 0x5A}, noise, kPoll17, {0x7E}});
  EXPECT_EQ(assembler.push(heard), (std::vector<Bytes>{kProbe3, kPoll17}));
  EXPECT_FALSE(assembler.holdsPartial());
}

TEST(FrameAssembler, AFalseStartThatCompletesBadlyGivesWayToTheFrameInside) {
  FrameAssembler assembler;
  // A start whose length byte (2) claims the probe's first bytes as its
  // payload, checksum and end.
  const Bytes falseStart{0x5A, 0x5A, 0x5A, 0x88, 0xA1, 0x01, 0x00, 0x03, 0x00, 0x01, 0x00, 0x00, 0x00, 0x02};
  EXPECT_EQ(assembler.push(join({falseStart, kProbe3})), std::vector<Bytes>{kProbe3});
}

TEST(FrameAssembler, AFalseStartLeftIncompleteIsDroppedWhenTheLineFallsSilent) {
  FrameAssembler assembler;
  // Claims 200 payload bytes that never come; the probe is heard inside it.
  const Bytes falseStart{0x5A, 0x5A, 0x5A, 0x88, 0xA1, 0x01, 0x00, 0x03, 0x00, 0x01, 0x00, 0x00, 0x00, 0xC8};
  EXPECT_TRUE(assembler.push(join({falseStart, kProbe3})).empty());
  EXPECT_EQ(assembler.lineIdle(), std::vector<Bytes>{kProbe3});
  EXPECT_FALSE(assembler.holdsPartial());
}

TEST(FrameAssembler, AFrameFailingItsCheckIsNotPassedOn) {
  FrameAssembler assembler;
  Bytes badSum = kProbe3;
  badSum[22] ^= 0x01;
  Bytes badEnd = kPoll17;
  badEnd[15] = 0xAB;
  EXPECT_EQ(assembler.push(join({badSum, badEnd, kPoll17})), std::vector<Bytes>{kPoll17});
}

}  // namespace
}  // namespace orvane
