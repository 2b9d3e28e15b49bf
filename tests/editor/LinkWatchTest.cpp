// What the session's link watch makes of the core's reports: a loss report
// of the open link, of one no longer open, and at the end of an ID search;
// the network operation awaited when the link went; the firmware verdict;
// a rename or reset done over each link. Each case sets the link's state in
// the image as the transports and the full read leave it, and a search case
// starts a search of the bus on a port that takes every frame silently;
// every case runs for both models.

#include <gtest/gtest.h>

#include <optional>

#include "editor/EditorSession.h"
#include "protocol/SendData.h"
#include "support/BothModels.h"

namespace orvane::editor {
namespace {

using Kind = LinkEvent::Kind;

struct Case {
  const char* name;
  LinkType open;
  bool searching;
  std::string firmware;
  Message message;
  LinkType reported;  // the link the report names
  ReplyKind awaited;  // the network operation whose answer was on its way
  std::optional<Kind> expected;
  bool closes;
  FirmwareVerdict verdict = FirmwareVerdict::Accepted;
  std::string text = {};  // what a refusal says
};

class SilentPort : public Transport {
 public:
  bool open(const std::string&) override { return true; }
  void close() override {}
  void signalWrite() override {}
  void shutdown() override {}
};

std::array<std::uint8_t, 8> versionBytes(const std::string& text) {
  std::array<std::uint8_t, 8> bytes{};
  for (std::size_t i = 0; i < text.size() && i < bytes.size(); ++i)
    bytes[i] = static_cast<std::uint8_t>(text[i]);
  return bytes;
}

using LinkWatchTest = BothModels;

// The firmware is judged by the session's model.
TEST_P(LinkWatchTest, TurnsTheCoreReportsIntoLinkEvents) {
  using enum LinkType;
  const std::string own(variant().firmwarePrefix);
  const std::string accepted = own + "1.20";
  const std::string newer = own + "2.00";
  const std::string foreign = std::string(otherVariant().firmwarePrefix) + "1.20";
  const std::vector<Case> cases{
      {"the open link lost", Network, false, accepted, Message::LinkLost, Network, ReplyKind::None,
       Kind::Lost, true},
      {"a link no longer open", Serial, false, accepted, Message::LinkLost, Network, ReplyKind::None,
       std::nullopt, false},
      {"nothing open", None, false, accepted, Message::LinkLost, Usb, ReplyKind::None, std::nullopt, false},
      {"the ID search over", Serial, true, accepted, Message::LinkLost, Serial, ReplyKind::None,
       Kind::SearchEnded, true},
      {"lost in a rename", Network, false, accepted, Message::LinkLost, Network, ReplyKind::NetworkNameWrite,
       Kind::RenameLost, true},
      {"lost in a reset", Network, false, accepted, Message::LinkLost, Network,
       ReplyKind::NetworkFactoryReset, Kind::FactoryResetLost, true},
      {"rename done over USB", Usb, false, accepted, Message::NetworkOperationDone, Usb,
       ReplyKind::NetworkNameWrite, Kind::RenameDone, false},
      {"reset done over RS-485", Serial, false, accepted, Message::NetworkOperationDone, Serial,
       ReplyKind::NetworkFactoryReset, Kind::FactoryResetDone, false},
      {"rename done over the network", Network, false, accepted, Message::NetworkOperationDone, Network,
       ReplyKind::NetworkNameWrite, std::nullopt, false},
      {"firmware accepted", Usb, false, accepted, Message::FirmwareVersionRead, Usb, ReplyKind::None,
       std::nullopt, false},
      {"firmware newer", Usb, false, newer, Message::FirmwareVersionRead, Usb, ReplyKind::None,
       Kind::FirmwareRefused, true, FirmwareVerdict::DeviceNewer,
       "the device's firmware " + newer + " is newer than this tool supports"},
      {"the other product's firmware", Network, false, foreign, Message::FirmwareVersionRead, Network,
       ReplyKind::None, Kind::FirmwareRefused, true, FirmwareVerdict::WrongProduct,
       "the device (firmware " + foreign + ") is not a product this tool serves"},
      {"firmware of a link already closed", None, false, newer, Message::FirmwareVersionRead, Usb,
       ReplyKind::None, std::nullopt, false},
      {"levels", Usb, false, accepted, Message::LevelsRead, Usb, ReplyKind::None, std::nullopt, false},
  };
  ParameterImage image;
  const auto silentSerial = [](Command& command, ParameterImage&) {
    command.attachTransport(LinkType::Serial, std::make_unique<SilentPort>());
  };
  EditorSession session(
      image, {.timings = {}, .transports = silentSerial, .notifier = nullptr, .variant = variant()});
  EXPECT_EQ(session.variant().modelCode, GetParam());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.searching) {
      ASSERT_EQ(session.connection().startIdSearch("bus"), SearchStart::Started);
    }
    image.modify([&](ImageData& d) {
      d.connection.linkType = c.open;
      d.status.firmwareVersion = versionBytes(c.firmware);
    });
    const auto event = session.linkWatch().onPosted(c.message, static_cast<std::intptr_t>(c.reported),
                                                    static_cast<std::intptr_t>(c.awaited));
    if (c.searching) session.connection().disconnect();
    ASSERT_EQ(event.has_value(), c.expected.has_value());
    if (!event) continue;
    EXPECT_EQ(event->kind, *c.expected);
    EXPECT_EQ(event->link, c.reported == None ? c.open : c.reported);
    EXPECT_EQ(event->closesLink(), c.closes);
    if (event->kind == Kind::FirmwareRefused) {
      EXPECT_EQ(event->verdict, c.verdict);
      EXPECT_EQ(event->text(), c.text);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Models, LinkWatchTest, ::testing::Values(7304, 736), BothModels::name);

}  // namespace
}  // namespace orvane::editor
