#include <gtest/gtest.h>

#include <string>

#include "LinkFixture.h"

namespace orvane::test {
namespace {

// Replies as the device sends them on the network link unless noted.

// Start-up program 5 (system item 24).
const Bytes kStartup5 = {
    0x5A, 0x5A, 0x5A, 0x88,  // sync, start
    0x53,                    // cmd: data reply
    0x03,                    // link: network
    0x2F,                    // nonce
    0x00, 0x00,              // device ID, value
    0x03,                    // block: system item
    0x18,                    // item 24: start-up program
    0x00, 0x00,              // row, reserved
    0x01,                    // length 1
    0x05,                    // program 5
    0x60,                    // checksum
    0xAA,                    // end
};

// The connection check's answer (system item 204), payload 0.
Bytes connectionCheckAnswer(std::uint8_t checksum, std::uint8_t end = 0xAA) {
  return frame(
      {
          0x5A, 0x5A, 0x5A, 0x88,  // sync, start
          0x53,                    // cmd: data reply
          0x03,                    // link: network
          0x21,                    // nonce
          0x00, 0x00,              // device ID, value
          0x03,                    // block: system item
          0xCC,                    // item 204: connection check
          0x00, 0x00,              // row, reserved
          0x01,                    // length 1
      },
      {0x00}, checksum, end);
}
constexpr std::uint8_t kCheckAnswerChecksum = 0xBF;

class ReplyDispatcherTest : public LinkFixture {
 protected:
  void SetUp() override { putInFlight(); }

  int startupProgram() {
    return read([](const ImageData& d) { return static_cast<int>(d.system.startupProgram); });
  }
  bool checkPending() { return check.pending(); }
  void setCheckPending() { check.start(); }
};

// --- check order -------------------------------------------------------------

TEST_F(ReplyDispatcherTest, WrongEndByteIsRefusedEvenWithARightChecksum) {
  Bytes bytes = kStartup5;
  bytes.back() = 0x55;
  EXPECT_EQ(reply(bytes), Outcome::Refused);
  EXPECT_EQ(startupProgram(), 0);
}

TEST_F(ReplyDispatcherTest, EndByteIsCheckedBeforeTheConnectionCheck) {
  setCheckPending();
  EXPECT_EQ(reply(connectionCheckAnswer(kCheckAnswerChecksum, 0x55)), Outcome::Refused);
  EXPECT_TRUE(checkPending());
}

TEST_F(ReplyDispatcherTest, ConnectionCheckAnswerIsTakenWhateverItsChecksum) {
  setCheckPending();
  EXPECT_EQ(reply(connectionCheckAnswer(0x40)), Outcome::Accepted);
  EXPECT_FALSE(checkPending());
  EXPECT_FALSE(inFlight());
}

TEST_F(ReplyDispatcherTest, ConnectionCheckAnswerOtherThanZeroIsRefusedAgainAndAgain) {
  setCheckPending();
  const Bytes answerOne = {
      0x5A, 0x5A, 0x5A, 0x88,  // sync, start
      0x53, 0x03, 0x22,        // data reply, network, nonce
      0x00, 0x00,              // device ID, value
      0x03, 0xCC,              // system item 204
      0x00, 0x00,              // row, reserved
      0x01,                    // length 1
      0x01,                    // answer 1
      0xBD,                    // checksum
      0xAA,                    // end
  };
  for (int attempt = 0; attempt < 3; ++attempt) {
    EXPECT_EQ(reply(answerOne), Outcome::Refused);
    EXPECT_TRUE(checkPending());
    EXPECT_TRUE(inFlight());
  }
}

TEST_F(ReplyDispatcherTest, ConnectionCheckAnswerOfTwoBytesIsRefused) {
  setCheckPending();
  const Bytes answer = {
      0x5A, 0x5A, 0x5A, 0x88,  // sync, start
      0x53, 0x03, 0x23,        // data reply, network, nonce
      0x00, 0x00,              // device ID, value
      0x03, 0xCC,              // system item 204
      0x00, 0x00,              // row, reserved
      0x02,                    // length 2
      0x00, 0x00,              // payload
      0xBE,                    // checksum
      0xAA,                    // end
  };
  EXPECT_EQ(reply(answer), Outcome::Refused);
  EXPECT_TRUE(checkPending());
}

TEST_F(ReplyDispatcherTest, OtherSystemRepliesAreRefusedWhileTheCheckIsPending) {
  setCheckPending();
  EXPECT_EQ(reply(kStartup5), Outcome::Refused);
  EXPECT_EQ(startupProgram(), 0);

  ASSERT_EQ(reply(connectionCheckAnswer(kCheckAnswerChecksum)), Outcome::Accepted);
  EXPECT_EQ(reply(kStartup5), Outcome::Accepted);
  EXPECT_EQ(startupProgram(), 5);
}

TEST_F(ReplyDispatcherTest, ChannelRepliesAreNotHeldUpByThePendingCheck) {
  setCheckPending();
  const Bytes row = {
      0x5A, 0x5A, 0x5A, 0x88,                          // sync, start
      0x53, 0x03, 0x24,                                // data reply, network, nonce
      0x00, 0x00,                                      // device ID, value
      0x01,                                            // block: input channel
      0x02,                                            // channel 2
      0x00, 0x00,                                      // row 0, reserved
      0x08,                                            // length 8
      0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08,  // payload
      0x77,                                            // checksum
      0xAA,                                            // end
  };
  EXPECT_EQ(reply(row), Outcome::Accepted);
  EXPECT_TRUE(checkPending());
  const int first = read([](const ImageData& d) { return static_cast<int>(d.device.inputs[2][0]); });
  EXPECT_EQ(first, 1);
}

TEST_F(ReplyDispatcherTest, WithoutAPendingCheckTheChecksumCounts) {
  EXPECT_EQ(reply(connectionCheckAnswer(0x40)), Outcome::Refused);
  EXPECT_EQ(reply(connectionCheckAnswer(kCheckAnswerChecksum)), Outcome::Accepted);
}

TEST_F(ReplyDispatcherTest, WrongChecksumIsRefused) {
  Bytes bytes = kStartup5;
  bytes[15] = 0xE0;
  EXPECT_EQ(reply(bytes), Outcome::Refused);
  EXPECT_EQ(startupProgram(), 0);
}

TEST_F(ReplyDispatcherTest, UnknownCommandsAndBlocksAreTakenWithoutEffect) {
  const Bytes echo = {
      0x5A, 0x5A, 0x5A, 0x88,  // sync, start
      0xA1,                    // cmd: a write, echoed
      0x03, 0x58,              // network, nonce
      0x00, 0x00,              // device ID, value
      0x03, 0x18,              // system item 24
      0x00, 0x00,              // row, reserved
      0x01, 0x07,              // length 1, program 7
      0xE7,                    // checksum
      0xAA,                    // end
  };
  const ImageData before = snapshot();
  EXPECT_EQ(reply(echo), Outcome::Accepted);

  const Bytes block7 = {
      0x5A, 0x5A, 0x5A, 0x88,  // sync, start
      0x53, 0x03, 0x57,        // data reply, network, nonce
      0x00, 0x00,              // device ID, value
      0x07,                    // block 7: none we know
      0x00, 0x00, 0x00,        // item, row, reserved
      0x01, 0x33,              // length 1, payload
      0x32,                    // checksum
      0xAA,                    // end
  };
  EXPECT_EQ(reply(block7), Outcome::Accepted);
  expectUnchanged(before);
  EXPECT_TRUE(notifier.messages().empty());
}

// --- completion and no-name replies -------------------------------------------

// Completion replies of the two network operations.
const Bytes kNameWriteDone = {
    0x5A, 0x5A, 0x5A, 0x88,  // sync, start
    0x51,                    // cmd: completion reply
    0x03,                    // link: network
    0x41,                    // nonce
    0x00, 0x00,              // device ID, value
    0x03, 0x33,              // system item 51
    0x00, 0x00,              // row, reserved
    0x00,                    // length 0
    0x23,                    // checksum
    0xAA,                    // end
};
const Bytes kFactoryResetDoneOnUsb = {
    0x5A, 0x5A, 0x5A, 0x88,  // sync, start
    0x51,                    // cmd: completion reply
    0x02,                    // link: USB
    0x5A,                    // nonce
    0x00, 0x00,              // device ID, value
    0x03, 0x31,              // system item 49: network module reset
    0x00, 0x00,              // row, reserved
    0x00,                    // length 0
    0x3B,                    // checksum
    0xAA,                    // end
};

TEST_F(ReplyDispatcherTest, CompletionOfANetworkOperationIsPostedWithItsKind) {
  putInFlight({.replyKind = ReplyKind::NetworkNameWrite});
  EXPECT_EQ(reply(kNameWriteDone), Outcome::Accepted);

  putInFlight({.replyKind = ReplyKind::NetworkFactoryReset});
  EXPECT_EQ(reply(kFactoryResetDoneOnUsb), Outcome::Accepted);

  const auto messages = notifier.messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].message, Message::NetworkOperationDone);
  EXPECT_EQ(messages[0].wParam, 3);  // the reply's link
  EXPECT_EQ(messages[0].lParam, 2);
  EXPECT_EQ(messages[1].message, Message::NetworkOperationDone);
  EXPECT_EQ(messages[1].wParam, 2);
  EXPECT_EQ(messages[1].lParam, 3);
}

TEST_F(ReplyDispatcherTest, CompletionOfAnythingElseIsTakenSilently) {
  EXPECT_EQ(reply(kNameWriteDone), Outcome::Accepted);
  putInFlight({.replyKind = ReplyKind::NetworkNameRead});
  EXPECT_EQ(reply(kNameWriteDone), Outcome::Accepted);
  EXPECT_TRUE(notifier.messages().empty());
}

TEST_F(ReplyDispatcherTest, NoNameReplyClearsTheNameOnlyForANameRead) {
  const Bytes noName = {
      0x5A, 0x5A, 0x5A, 0x88,  // sync, start
      0x52,                    // cmd: no-name reply
      0x03, 0x42,              // network, nonce
      0x00, 0x00,              // device ID, value
      0x03, 0x33,              // system item 51
      0x00, 0x00,              // row, reserved
      0x00,                    // length 0
      0x23,                    // checksum
      0xAA,                    // end
  };
  auto name = [&] { return read([](const ImageData& d) { return d.system.networkName; }); };
  modify([](ImageData& d) { d.system.networkName = "Hall1"; });

  EXPECT_EQ(reply(noName), Outcome::Refused);
  putInFlight({.replyKind = ReplyKind::NetworkNameWrite});
  EXPECT_EQ(reply(noName), Outcome::Refused);
  EXPECT_EQ(name(), "Hall1");

  putInFlight({.replyKind = ReplyKind::NetworkNameRead});
  EXPECT_EQ(reply(noName), Outcome::Accepted);
  EXPECT_EQ(name(), "");
}

}  // namespace
}  // namespace orvane::test
