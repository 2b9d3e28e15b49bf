#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <deque>

#include "transport/EchoCheck.h"

namespace orvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

// --- the request ------------------------------------------------------------

TEST(EchoRequestTest, LayoutAndChecksumByTheByte) {
  if constexpr (std::endian::native != std::endian::little) GTEST_SKIP() << "fields are in host order";
  const EchoRequest request = buildEchoRequest(0x1234, 2, 0x0A0B0C0D);
  // Words on the wire 0800 0000 3412 0200 0D0C 0B0A and 16 x 4545 sum to
  // 0x4AA78, folded 0xAA7C, complemented 0x5583.
  Bytes expected{
      0x08, 0x00,              // type 8 echo request, code 0
      0x55, 0x83,              // checksum
      0x34, 0x12,              // identifier 0x1234
      0x02, 0x00,              // sequence 2
      0x0D, 0x0C, 0x0B, 0x0A,  // tick 0x0A0B0C0D
  };
  expected.insert(expected.end(), 32, 0x45);
  EXPECT_EQ(Bytes(request.begin(), request.end()), expected);
}

TEST(EchoRequestTest, EveryRequestSumsToAllOnes) {
  // A receiver adds the checksum in and must get 0xFFFF, i.e. a checksum of 0.
  for (std::uint16_t sequence = 0; sequence < 4; ++sequence) {
    const EchoRequest request = buildEchoRequest(0xBEEF, sequence, 0xFFFFFFF0u + sequence);
    EXPECT_EQ(internetChecksum(request), 0) << sequence;
  }
}

TEST(EchoRequestTest, ChecksumOfTheClassicExampleAndAnOddLength) {
  // 0001 F203 F4F5 F6F7 sums to 0xDDF2; its complement 0x220D goes on the wire
  // high byte first.
  const Bytes even{0x00, 0x01, 0xF2, 0x03, 0xF4, 0xF5, 0xF6, 0xF7};
  const std::uint16_t sum = internetChecksum(even);
  std::uint8_t wire[2];
  std::memcpy(wire, &sum, 2);
  EXPECT_EQ(wire[0], 0x22);
  EXPECT_EQ(wire[1], 0x0D);
  // The odd last byte is padded with a zero: 0001 + F200 = F201 -> 0DFE.
  const Bytes odd{0x00, 0x01, 0xF2};
  const std::uint16_t oddSum = internetChecksum(odd);
  std::memcpy(wire, &oddSum, 2);
  EXPECT_EQ(wire[0], 0x0D);
  EXPECT_EQ(wire[1], 0xFE);
}

// --- the answer test --------------------------------------------------------

// An IPv4 header of `ihl` words (byte 0 = 0x40 | ihl) followed by an ICMP
// message of `type` with identifier 0x1234 in host order and tick
// 0x11223344, then `data` bytes of 0x45.
Bytes datagram(std::uint8_t ihl, std::uint8_t type, std::size_t data = 32,
               std::uint16_t identifier = 0x1234) {
  Bytes bytes(ihl * 4u, 0x00);
  if (ihl > 0) bytes[0] = static_cast<std::uint8_t>(0x40 | ihl);
  const std::uint32_t tick = 0x11223344;
  Bytes icmp(12 + data, 0x45);
  icmp[0] = type;
  icmp[1] = 0;
  icmp[2] = icmp[3] = 0;
  std::memcpy(&icmp[4], &identifier, 2);
  icmp[6] = icmp[7] = 0;
  std::memcpy(&icmp[8], &tick, 4);
  bytes.insert(bytes.end(), icmp.begin(), icmp.end());
  return bytes;
}

TEST(EchoAnswerTest, WhatCountsAsTheAnswer) {
  constexpr auto ip = EchoDatagram::WithIpHeader;
  EXPECT_EQ(echoAnswerTick(datagram(5, 0), ip, 0x1234), 0x11223344u);
  // Our own request as a raw socket sees it on the loopback interface.
  EXPECT_FALSE(echoAnswerTick(datagram(5, 8), ip, 0x1234));
  // Another process's echo reply.
  EXPECT_FALSE(echoAnswerTick(datagram(5, 0), ip, 0x1235));
  // Destination unreachable and the like.
  EXPECT_FALSE(echoAnswerTick(datagram(5, 3), ip, 0x1234));
  EXPECT_FALSE(echoAnswerTick(Bytes{}, ip, 0x1234));
}

TEST(EchoAnswerTest, TheHeaderLengthPlacesTheMessage) {
  // A header with one option word (zeros, which would read as an echo reply
  // of identifier 0 if the message were taken to start at 20).
  const Bytes withOption = datagram(6, 0);
  EXPECT_EQ(echoAnswerTick(withOption, EchoDatagram::WithIpHeader, 0x1234), 0x11223344u);
  EXPECT_FALSE(echoAnswerTick(withOption, EchoDatagram::WithIpHeader, 0x0000));
  // A header length below the 20-byte minimum is no IP header.
  Bytes broken = datagram(5, 0);
  broken[0] = 0x44;
  EXPECT_FALSE(echoAnswerTick(broken, EchoDatagram::WithIpHeader, 0x1234));
}

TEST(EchoAnswerTest, AnAnswerMustHoldTheTickItReturns) {
  const Bytes full = datagram(5, 0, 0);  // 20 + 12 bytes: just the tick
  EXPECT_EQ(echoAnswerTick(full, EchoDatagram::WithIpHeader, 0x1234), 0x11223344u);
  const Bytes cut(full.begin(), full.end() - 1);
  EXPECT_FALSE(echoAnswerTick(cut, EchoDatagram::WithIpHeader, 0x1234));
  const Bytes headerOnly(full.begin(), full.begin() + 28);  // IHL*4 + 8
  EXPECT_FALSE(echoAnswerTick(headerOnly, EchoDatagram::WithIpHeader, 0x1234));
}

TEST(EchoAnswerTest, DatagramSocketsHandOverTheMessageAlone) {
  const Bytes icmp = datagram(0, 0);
  EXPECT_EQ(echoAnswerTick(icmp, EchoDatagram::IcmpOnly, 0x1234), 0x11223344u);
  EXPECT_FALSE(echoAnswerTick(datagram(0, 8), EchoDatagram::IcmpOnly, 0x1234));
  // The same bytes taken as carrying an IP header would be misread.
  EXPECT_FALSE(echoAnswerTick(icmp, EchoDatagram::WithIpHeader, 0x1234));
}

// --- the attempts -----------------------------------------------------------

// A socket that answers each receive with the next scripted step.
class ScriptedChannel : public EchoChannel {
 public:
  enum class Step { Answer, OwnRequest, OtherProcess, Silence, Failure };

  ScriptedChannel(std::initializer_list<Step> steps, EchoDatagram form = EchoDatagram::WithIpHeader)
      : steps_(steps), form_(form) {}

  std::uint16_t identifier() const override { return 0x4321; }
  EchoDatagram form() const override { return form_; }
  bool send(std::span<const std::uint8_t> request) override {
    sent.emplace_back(request.begin(), request.end());
    return sendWorks;
  }
  Received receive(std::span<std::uint8_t> buffer, std::size_t& size) override {
    const Step step = steps_.empty() ? Step::Silence : steps_.front();
    if (!steps_.empty()) steps_.pop_front();
    if (step == Step::Silence) return Received::TimedOut;
    if (step == Step::Failure) return Received::Failed;
    Bytes message = sent.back();
    if (step != Step::OwnRequest) message[0] = 0;  // echo reply
    if (step == Step::OtherProcess) message[4] ^= 0xFF;
    Bytes bytes(form_ == EchoDatagram::WithIpHeader ? 20 : 0, 0);
    if (!bytes.empty()) bytes[0] = 0x45;
    bytes.insert(bytes.end(), message.begin(), message.end());
    std::copy(bytes.begin(), bytes.end(), buffer.begin());
    size = bytes.size();
    return Received::Datagram;
  }

  std::uint16_t sequenceOf(std::size_t i) const {
    std::uint16_t sequence;
    std::memcpy(&sequence, &sent[i][6], 2);
    return sequence;
  }

  std::vector<Bytes> sent;
  bool sendWorks = true;

 private:
  std::deque<Step> steps_;
  EchoDatagram form_;
};

using Step = ScriptedChannel::Step;

class EchoAttemptsTest : public ::testing::Test {
 protected:
  EchoAttemptsTest() { timings.echoNonAnswerPause = std::chrono::milliseconds(0); }
  Timings timings;
};

TEST_F(EchoAttemptsTest, TheFirstAnswerEndsTheCheck) {
  ScriptedChannel channel{Step::Answer};
  EXPECT_GE(runEchoAttempts(channel, timings), 0);
  ASSERT_EQ(channel.sent.size(), 1u);
  EXPECT_EQ(channel.sent[0].size(), kEchoRequestSize);
  EXPECT_EQ(channel.sequenceOf(0), 0);
}

TEST_F(EchoAttemptsTest, StrangersWithinAnAttemptDoNotCostIt) {
  // On the loopback interface a raw socket sees its own request first, and
  // other programs' pings besides: the attempt listens on for its answer.
  ScriptedChannel channel{Step::OwnRequest, Step::OtherProcess, Step::OwnRequest, Step::OtherProcess,
                          Step::Answer};
  EXPECT_GE(runEchoAttempts(channel, timings), 0);
  ASSERT_EQ(channel.sent.size(), 1u);
  EXPECT_EQ(channel.sequenceOf(0), 0);
  // An attempt whose time ran out with strangers only is followed by the next.
  ScriptedChannel later{Step::OtherProcess, Step::Silence, Step::Answer};
  EXPECT_GE(runEchoAttempts(later, timings), 0);
  EXPECT_EQ(later.sent.size(), 2u);
}

TEST_F(EchoAttemptsTest, FourAttemptsWithoutAnswerMeanNoAnswer) {
  ScriptedChannel silent{};
  EXPECT_EQ(runEchoAttempts(silent, timings), EchoResult::NoAnswer);
  ASSERT_EQ(silent.sent.size(), 4u);
  EXPECT_EQ(silent.sequenceOf(3), 3);

  EXPECT_TRUE(EchoResult::stopsConnection(EchoResult::NoAnswer));
}

TEST_F(EchoAttemptsTest, SocketFailuresEndTheCheckWithoutStoppingTheConnection) {
  ScriptedChannel receiveFails{Step::Silence, Step::Failure, Step::Answer};
  EXPECT_EQ(runEchoAttempts(receiveFails, timings), EchoResult::ReceiveFailed);
  EXPECT_EQ(receiveFails.sent.size(), 2u);

  ScriptedChannel sendFails{Step::Answer};
  sendFails.sendWorks = false;
  EXPECT_EQ(runEchoAttempts(sendFails, timings), EchoResult::SendFailed);

  for (int code : {EchoResult::NotPermitted, EchoResult::SocketFailed, EchoResult::OptionFailed,
                   EchoResult::SendFailed, EchoResult::ReceiveFailed})
    EXPECT_FALSE(EchoResult::stopsConnection(code)) << code;
}

TEST_F(EchoAttemptsTest, AnswersWithoutIpHeader) {
  ScriptedChannel channel({Step::Answer}, EchoDatagram::IcmpOnly);
  EXPECT_GE(runEchoAttempts(channel, timings), 0);
}

// --- the real sockets, on the loopback interface only -----------------------

TEST(EchoCheckLiveTest, RawSocketEchoOfLoopback) {
  const Timings timings;
  const int result = EchoCheck(timings, EchoCheck::Socket::Raw).check("127.0.0.1");
  if (result == EchoResult::NotPermitted) GTEST_SKIP() << "raw ICMP sockets are not permitted here";
  EXPECT_GE(result, 0);
}

TEST(EchoCheckLiveTest, DatagramSocketEchoOfLoopback) {
  const Timings timings;
  const int result = EchoCheck(timings, EchoCheck::Socket::Datagram).check("127.0.0.1");
  if (result == EchoResult::NotPermitted) GTEST_SKIP() << "ICMP datagram sockets are not permitted here";
  EXPECT_GE(result, 0);
}

TEST(EchoCheckLiveTest, LoopbackNeverStopsTheConnection) {
  const Timings timings;
  const int result = EchoCheck(timings).check("127.0.0.1");
  EXPECT_TRUE(result >= 0 || result == EchoResult::NotPermitted) << result;
}

}  // namespace
}  // namespace orvane
