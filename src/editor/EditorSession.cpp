#include "editor/EditorSession.h"

#include <algorithm>
#include <thread>

#include "link/SystemLinks.h"
#include "model/ProductVariant.h"

namespace orvane::editor {

namespace {

constexpr auto kPollPause = std::chrono::milliseconds(2);
constexpr const char* kCancelled = "the wait for the device was cancelled";

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

EditorSession::EditorSession(const Timings& timings) : EditorSession(nullptr, Setup{timings, {}, nullptr}) {}

EditorSession::EditorSession(ParameterImage& image, Setup setup) : EditorSession(&image, std::move(setup)) {}

EditorSession::EditorSession(ParameterImage* image, Setup setup)
    : ownImage_(image ? nullptr : std::make_unique<ParameterImage>()),
      image_(image ? *image : *ownImage_),
      notifier_(setup.notifier),
      command_(image_, notifier_, setup.timings),
      connection_(command_, image_, notifier_),
      links_(image_, command_),
      master_(image_, command_) {
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
std::string EditorSession::waitUntil(Done&& done, Seconds timeout, const char* what) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (cancelled_) return kCancelled;
    if (linkLost()) return "the link to the device was lost";
    if (std::chrono::steady_clock::now() > deadline)
      return std::string("the device did not finish ") + what + " in time";
    std::this_thread::sleep_for(kPollPause);
  }
  return {};
}

int EditorSession::sinceOpen(Message message) const {
  const auto at = std::ranges::find(kCountedFromOpen, message) - kCountedFromOpen.begin();
  const int atOpen = at < std::ssize(atOpen_) ? atOpen_[static_cast<std::size_t>(at)].load() : 0;
  return notifier_.count(message) - atOpen;
}

std::string EditorSession::open(const ConnectTarget& target, Seconds timeout) {
  if (cancelled_) return kCancelled;
  for (std::size_t i = 0; i < kCountedFromOpen.size(); ++i) atOpen_[i] = notifier_.count(kCountedFromOpen[i]);
  if (!connection_.connect(target.link, target.address, target.deviceId))
    return "cannot open the link " + (target.address.empty() ? std::string("usb") : target.address);
  std::string error = waitUntil(
      [this] {
        return sinceOpen(Message::FirmwareVersionRead) > 0 || sinceOpen(Message::ChannelDataRead) > 0;
      },
      timeout, "the connection check");
  if (error.empty()) error = checkFirmware();
  if (error.empty())
    error = waitUntil([this] { return sinceOpen(Message::ChannelDataRead) > 0; }, timeout, "the full read");
  if (!error.empty()) {
    // A refused firmware or an unfinished read leaves the worker talking to
    // the device; the next open needs the link closed.
    close();
    return error;
  }
  links_.normalise();
  return {};
}

std::string EditorSession::checkFirmware() const {
  const FirmwareVerdict verdict = connection_.checkFirmware(ProductVariant::current());
  if (verdict == FirmwareVerdict::Accepted) return {};
  const std::string version = firmware();
  switch (verdict) {
    case FirmwareVerdict::WrongProduct:
      return "the device (firmware " + version + ") is not a product this tool serves";
    case FirmwareVerdict::DeviceOlder:
      return "the device's firmware " + version + " is older than this tool supports";
    default:
      return "the device's firmware " + version + " is newer than this tool supports";
  }
}

std::string EditorSession::firmware() const {
  const auto version = image_.read([](const ImageData& d) { return d.status.firmwareVersion; });
  std::string text;
  for (std::uint8_t byte : version)
    if (byte >= 0x20 && byte < 0x7F) text += static_cast<char>(byte);
  return text;
}

std::string EditorSession::settle(Seconds timeout) {
  const std::uint64_t polls = command_.levelPolls();
  return waitUntil([&] { return command_.levelPolls() >= polls + 2 && command_.queue().isEmpty(); }, timeout,
                   "taking the changes");
}

std::string EditorSession::waitFor(Message message, int count, Seconds timeout) {
  return waitUntil([&] { return notifier_.count(message) >= count; }, timeout, "the transfer");
}

void EditorSession::close() {
  if (connection_.isConnected()) connection_.disconnect();
}

}  // namespace orvane::editor
