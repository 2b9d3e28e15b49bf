#include "editor/EditorSession.h"

#include <algorithm>
#include <thread>

#include "link/SystemLinks.h"

namespace orvane::editor {

namespace {

constexpr auto kPollPause = std::chrono::milliseconds(2);

std::string textOf(const std::optional<LinkEvent>& event) {
  return event ? event->text() : std::string();
}

}  // namespace

// Two local pauses would make up most of a short command's time: the one
// the network port takes after letting its connection go (nothing follows
// in a tool that ends then), and the pause after a datagram that is not the
// echo answer (with a raw socket on the loopback interface the first one is
// always the request itself; the answer is waiting behind it).
Timings EditorSession::defaultTimings() {
  Timings timings;
  timings.netEventResetPause = std::chrono::milliseconds(0);
  timings.echoNonAnswerPause = std::chrono::milliseconds(0);
  return timings;
}

EditorSession::EditorSession(const Timings& timings, const ProductVariant& variant)
    : EditorSession(nullptr, Setup{timings, {}, nullptr, variant}) {}

EditorSession::EditorSession(Setup setup) : EditorSession(nullptr, std::move(setup)) {}

EditorSession::EditorSession(ParameterImage& image, Setup setup) : EditorSession(&image, std::move(setup)) {}

EditorSession::EditorSession(ParameterImage* image, Setup setup)
    : variant_(setup.variant),
      ownImage_(image ? nullptr : std::make_unique<ParameterImage>()),
      image_(image ? *image : *ownImage_),
      notifier_(setup.notifier),
      command_(image_, notifier_, setup.timings),
      connection_(command_, image_, notifier_),
      links_(image_, command_),
      master_(image_, command_),
      watch_(connection_, image_, variant_),
      history_(
          image_, [this] { return relinks_ + notifier_.count(Message::LinkLost); }, EditHistory::Limits{}) {
  if (!setup.transports) setup.transports = SystemLinks::attach;
  setup.transports(command_, image_);
}

EditorSession::~EditorSession() {
  close();
  filters_.reset();
  command_.Shutdown();
}

ChannelFilters& EditorSession::filters() {
  if (!filters_) filters_ = std::make_unique<ChannelFilters>(image_);
  return *filters_;
}

template <class Done>
std::optional<LinkEvent> EditorSession::waitUntil(Done&& done, Seconds timeout, const char* what) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (cancelled_) return LinkEvent(LinkEvent::Kind::Cancelled);
    if (linkLost()) return loss();
    if (std::chrono::steady_clock::now() > deadline) return unfinished(what);
    std::this_thread::sleep_for(kPollPause);
  }
  return std::nullopt;
}

LinkEvent EditorSession::loss() const {
  return watch_.lossOfOpened(notifier_.lostKind(), heard());
}

LinkWatch::Heard EditorSession::heard() const {
  return {sinceOpen(Message::FirmwareVersionRead) > 0 || sinceOpen(Message::ChannelDataRead) > 0,
          command_.connectionCheck().answeredNotReady(), command_.closedByPeer(LinkType::Network)};
}

// A connection check not passed in time: the device is not ready, or no
// device answers to this ID on the bus.
LinkEvent EditorSession::unfinished(const char* what) const {
  const LinkWatch::Heard now = heard();
  if (!now.answered) return watch_.unchecked(now);
  return LinkEvent(LinkEvent::Kind::Unfinished, connection_.linkType(), what);
}

int EditorSession::sinceOpen(Message message) const {
  const auto at = std::ranges::find(kCountedFromOpen, message) - kCountedFromOpen.begin();
  const int atOpen = at < std::ssize(atOpen_) ? atOpen_[static_cast<std::size_t>(at)].load() : 0;
  return notifier_.count(message) - atOpen;
}

std::string EditorSession::open(const ConnectTarget& target, Seconds timeout) {
  return textOf(openLink(target, timeout));
}

std::optional<LinkEvent> EditorSession::openLink(const ConnectTarget& target, Seconds timeout) {
  if (cancelled_) return LinkEvent(LinkEvent::Kind::Cancelled);
  for (std::size_t i = 0; i < kCountedFromOpen.size(); ++i) atOpen_[i] = notifier_.count(kCountedFromOpen[i]);
  watch_.opening(target);
  ++relinks_;
  if (!connection_.connect(target.link, target.address, target.deviceId)) {
    LinkEvent failed(LinkEvent::Kind::OpenFailed, target.link, target.address);
    failed.fault = command_.openFailure(target.link);
    failed.fault.deviceId = target.deviceId;
    return failed;
  }
  std::optional<LinkEvent> failure = waitUntil(
      [this] {
        return sinceOpen(Message::FirmwareVersionRead) > 0 || sinceOpen(Message::ChannelDataRead) > 0;
      },
      timeout, "the connection check");
  if (!failure) failure = watch_.firmwareRefusal();
  if (!failure)
    failure = waitUntil([this] { return sinceOpen(Message::ChannelDataRead) > 0; }, timeout, "the full read");
  if (failure) {
    // A refused firmware or an unfinished read leaves the worker talking to
    // the device; the next open needs the link closed.
    close();
    return failure;
  }
  links_.normalise();
  return std::nullopt;
}

std::string EditorSession::firmware() const {
  return LinkWatch::firmwareText(image_);
}

std::string EditorSession::settle(Seconds timeout) {
  const std::uint64_t polls = command_.levelPolls();
  return textOf(waitUntil([&] { return command_.levelPolls() >= polls + 2 && command_.queue().isEmpty(); },
                          timeout, "taking the changes"));
}

std::string EditorSession::waitFor(Message message, int count, Seconds timeout) {
  return textOf(waitUntil([&] { return notifier_.count(message) >= count; }, timeout, "the transfer"));
}

void EditorSession::close() {
  if (!connection_.isConnected()) return;
  connection_.disconnect();
  ++relinks_;
}

}  // namespace orvane::editor
