#include "editor/LinkWatch.h"

#include "protocol/SendData.h"

namespace orvane::editor {

namespace {

using Kind = LinkEvent::Kind;

bool is(int kind, ReplyKind reply) {
  return kind == static_cast<int>(reply);
}

}  // namespace

LinkWatch::LinkWatch(const ConnectionManager& connection, const ParameterImage& image,
                     const ProductVariant& variant)
    : connection_(connection), image_(image), variant_(variant) {}

std::optional<LinkEvent> LinkWatch::onPosted(Message message, std::intptr_t wParam,
                                             std::intptr_t lParam) const {
  switch (message) {
    case Message::LinkLost:
      return onLost(static_cast<LinkType>(wParam), static_cast<int>(lParam));
    case Message::FirmwareVersionRead:
      return firmwareRefusal();
    case Message::NetworkOperationDone:
      return onNetworkOperationDone(static_cast<int>(lParam));
    default:
      return std::nullopt;
  }
}

std::optional<LinkEvent> LinkWatch::onLost(LinkType link, int kind) const {
  switch (connection_.classifyLoss(link)) {
    case LinkLoss::Stale:
      return std::nullopt;
    case LinkLoss::SearchEnded:
      return LinkEvent(Kind::SearchEnded, link);
    default:
      return loss(link, kind);
  }
}

LinkEvent LinkWatch::loss(LinkType link, int kind) {
  if (is(kind, ReplyKind::NetworkNameWrite)) return LinkEvent(Kind::RenameLost, link);
  if (is(kind, ReplyKind::NetworkFactoryReset)) return LinkEvent(Kind::FactoryResetLost, link);
  return LinkEvent(Kind::Lost, link);
}

void LinkWatch::opening(const ConnectTarget& target) {
  std::lock_guard lock(openedMutex_);
  opened_ = target;
  openedAt_ = std::chrono::steady_clock::now();
}

LinkEvent LinkWatch::lossOfOpened(int kind, Heard heard) const {
  std::lock_guard lock(openedMutex_);
  LinkEvent event = loss(opened_.link, kind);
  if (event.kind != Kind::Lost) return event;
  const bool early = !heard.answered || std::chrono::steady_clock::now() - openedAt_ < kEarlyLoss;
  if (heard.notReady || (opened_.link == LinkType::Usb && !heard.answered))
    event.fault = fault(LinkFault::Cause::NotReady);
  else if (opened_.link == LinkType::Serial && !heard.answered)
    event.fault = fault(LinkFault::Cause::NoAnswer);
  else if (opened_.link == LinkType::Network && (early || heard.closed))
    event.fault = fault(early ? LinkFault::Cause::EndedAtOnce : LinkFault::Cause::TakenOver);
  return event;
}

LinkEvent LinkWatch::unchecked(Heard heard) const {
  std::lock_guard lock(openedMutex_);
  LinkEvent event(Kind::Unfinished, opened_.link, "the connection check");
  const bool silent = opened_.link == LinkType::Serial && !heard.notReady;
  event.fault = fault(silent ? LinkFault::Cause::NoAnswer : LinkFault::Cause::NotReady);
  return event;
}

// Called with openedMutex_ held.
LinkFault LinkWatch::fault(LinkFault::Cause cause) const {
  return LinkFault{cause, opened_.link, opened_.address, opened_.deviceId};
}

std::optional<LinkEvent> LinkWatch::firmwareRefusal() const {
  const FirmwareVerdict verdict = connection_.checkFirmware(variant_);
  if (verdict == FirmwareVerdict::Accepted || !connection_.isConnected()) return std::nullopt;
  LinkEvent refusal(Kind::FirmwareRefused, connection_.linkType(), firmwareText(image_));
  refusal.verdict = verdict;
  return refusal;
}

std::optional<LinkEvent> LinkWatch::onNetworkOperationDone(int kind) const {
  const LinkType link = connection_.linkType();
  if (link == LinkType::None || link == LinkType::Network) return std::nullopt;
  if (is(kind, ReplyKind::NetworkNameWrite)) return LinkEvent(Kind::RenameDone, link);
  if (is(kind, ReplyKind::NetworkFactoryReset)) return LinkEvent(Kind::FactoryResetDone, link);
  return std::nullopt;
}

std::string LinkWatch::firmwareText(const ParameterImage& image) {
  const auto version = image.read([](const ImageData& d) { return d.status.firmwareVersion; });
  std::string text;
  for (std::uint8_t byte : version)
    if (byte >= 0x20 && byte < 0x7F) text += static_cast<char>(byte);
  return text;
}

}  // namespace orvane::editor
