#include "server/DeviceService.h"

#include "control/MeterLevels.h"
#include "control/ParameterPath.h"
#include "editor/ParameterOperations.h"
#include "editor/ProgramFiles.h"
#include "editor/ProgramOperations.h"
#include "model/ProductVariant.h"
#include "model/ProgramStore.h"
#include "platform/ParseNumber.h"

namespace orvane::server {

namespace {

// How often a command waiting for the session looks at the link.
constexpr auto kSessionPoll = std::chrono::milliseconds(20);

Reply error(int status, const std::string& message) {
  return Reply{status, Json{{"error", message}}};
}

using ParameterResult = editor::ParameterOperations::Result;

// A parameter operation's outcome with the status that fits; a locked
// function's answer carries "locked": true and no value.
Reply parameterReply(const control::ParameterPath& path, const ParameterResult& result, bool lost,
                     const ParameterImage& image) {
  switch (result.status) {
    case ParameterResult::Status::Done:
      return Reply{200, control::DeviceJson::parameterSet(path.name(), result.text, result.changed, image)};
    case ParameterResult::Status::BadValue:
      return error(400, result.message);
    case ParameterResult::Status::Locked:
      return Reply{403, Json{{"error", result.message}, {"path", path.name()}, {"locked", true}}};
    default:
      return error(lost ? 409 : 502, result.message);
  }
}

using ProgramResult = editor::ProgramOperations::Result;

// A failed program operation with the status that fits: 400 a name the
// device cannot hold or a wrong file, 403 a locked function, 409 no link,
// 502 a device that did not take it. A file of the other kind says so.
Reply programRefusal(const ProgramResult& result, bool lost) {
  switch (result.status) {
    case ProgramResult::Status::NoName:
    case ProgramResult::Status::NameTooLong:
      return error(400, result.message);
    case ProgramResult::Status::WrongFile:
      if (result.message.empty())
        return error(400, "the file sent is not an all-programs file of this model");
      return Reply{400, Json{{"error", "the file sent is " + result.message + ": use load for it"},
                             {"kind", result.message}}};
    case ProgramResult::Status::Locked:
      return error(403, result.message);
    default:
      return error(lost ? 409 : 502, result.message);
  }
}

}  // namespace

DeviceService::DeviceService(const ConnectTarget& target, std::string linkText, Setup setup)
    : linkText_(std::move(linkText)),
      session_(setup.timings, setup.variant),
      keeper_(session_, sessionMutex_, target, noting(std::move(setup.report))) {
  session_.setWaitLimit(kDeviceWait);
}

DeviceService::DeviceService(const ConnectTarget& target, std::string linkText)
    : DeviceService(target, std::move(linkText), Setup{}) {}

DeviceService::~DeviceService() {
  keeper_.finish();
  std::lock_guard lock(sessionMutex_);
  session_.close();
}

editor::LinkSupervisor::Report DeviceService::noting(editor::LinkSupervisor::Report report) {
  return [this, report = std::move(report)](const editor::LinkSupervisor::Change& change) {
    if (change.state != Link::Open) {
      std::lock_guard lock(errorMutex_);
      lastError_ = change.event ? change.event->text() : change.error;
    }
    if (report) report(change);
  };
}

void DeviceService::start() {
  keeper_.start();
}

void DeviceService::stop() {
  keeper_.stop();
}

DeviceService::Link DeviceService::link() const {
  return keeper_.state();
}

const char* DeviceService::linkName(Link link) {
  switch (link) {
    case Link::Open:
      return "open";
    case Link::Lost:
      return "lost";
    default:
      return "connecting";
  }
}

std::optional<Reply> DeviceService::withoutLink() const {
  const Link now = link();
  if (now == Link::Open) return std::nullopt;
  return error(409, std::string("no link to the device (") + linkName(now) + ")");
}

// Polls try_lock() rather than waiting in std::timed_mutex::try_lock_for(),
// whose clock-based lock ThreadSanitizer does not follow.
std::optional<Reply> DeviceService::takeSession(std::unique_lock<std::mutex>& lock) {
  const auto deadline = std::chrono::steady_clock::now() + kDeviceWait;
  while (!lock.try_lock()) {
    if (auto refused = withoutLink()) return refused;
    if (std::chrono::steady_clock::now() > deadline)
      return error(503, "the device is busy with the commands before this one");
    std::this_thread::sleep_for(kSessionPoll);
  }
  return withoutLink();
}

Reply DeviceService::onSession(const std::function<Reply()>& work) {
  std::unique_lock lock(sessionMutex_, std::defer_lock);
  if (auto refused = takeSession(lock)) return *refused;
  return work();
}

Reply DeviceService::status() {
  Json body{{"link", linkName(link())}, {"target", linkText_}};
  {
    std::lock_guard lock(errorMutex_);
    if (!lastError_.empty()) body["lastError"] = lastError_;
  }
  if (link() != Link::Open) return Reply{200, body};
  // From the image alone: the feed keeps the meters, and a status must
  // not wait behind the commands on the device.
  body.update(
      control::DeviceJson::identity(session_.image(), session_.firmware(), session_.variant().modelCode));
  return Reply{200, body};
}

Reply DeviceService::getParameter(const std::string& text) {
  const auto parsed = control::ParameterPath::parse(text);
  if (const auto* message = std::get_if<std::string>(&parsed)) return error(404, *message);
  if (auto refused = withoutLink()) return *refused;
  const auto& path = std::get<control::ParameterPath>(parsed);
  Reply reply =
      parameterReply(path, editor::ParameterOperations::get(session_, path), false, session_.image());
  if (reply.status == 200)
    reply.body = Json{{"path", path.name()}, {"value", reply.body["value"]}, {"locked", false}};
  return reply;
}

Reply DeviceService::setParameter(const std::string& text, const std::string& value) {
  const auto parsed = control::ParameterPath::parse(text);
  if (const auto* message = std::get_if<std::string>(&parsed)) return error(404, *message);
  const auto& path = std::get<control::ParameterPath>(parsed);
  return onSession([&] {
    return parameterReply(path, editor::ParameterOperations::set(session_, path, value, true),
                          session_.linkLost(), session_.image());
  });
}

Reply DeviceService::programs() {
  if (auto refused = withoutLink()) return *refused;
  const auto listing = editor::ProgramOperations::list(session_.image());
  return Reply{200, Json{{"current", control::DeviceJson::program(listing.current, listing.currentName)},
                         {"programs", control::DeviceJson::programs(listing.names)}}};
}

Reply DeviceService::recall(const std::string& number) {
  const auto program = parseNumber(number, 1, kPrograms);
  if (!program) return error(400, "'" + number + "' is no program: 1 .. 30");
  return onSession([&] {
    const auto result = editor::ProgramOperations::recall(session_, *program);
    if (!result.done()) return programRefusal(result, session_.linkLost());
    return Reply{200, control::DeviceJson::program(result.program, result.name)};
  });
}

Reply DeviceService::store(const std::string& number, const std::string& name) {
  const auto program = parseNumber(number, 1, kPrograms);
  if (!program) return error(400, "'" + number + "' is no program: 1 .. 30");
  return onSession([&] {
    const auto result = editor::ProgramOperations::store(session_, *program, name);
    if (!result.done()) return programRefusal(result, session_.linkLost());
    return Reply{200, control::DeviceJson::program(result.program, result.name)};
  });
}

std::variant<std::string, Reply> DeviceService::backup() {
  std::string file;
  Reply reply = onSession([&] {
    const auto result =
        editor::ProgramFiles::readAll(session_, editor::ProgramFiles::Until::Taken, kProgramsWait);
    if (!result.done()) return programRefusal(result, session_.linkLost());
    const std::vector<std::uint8_t> bytes = editor::ProgramFiles::allPrograms(session_);
    file.assign(bytes.begin(), bytes.end());
    return Reply{200, Json::object()};
  });
  if (reply.status != 200) return reply;
  return file;
}

Reply DeviceService::restore(const std::string& bytes) {
  return onSession([&] {
    const auto result =
        editor::ProgramFiles::loadAll(session_, std::vector<std::uint8_t>(bytes.begin(), bytes.end()),
                                      editor::ProgramFiles::Until::Taken, kProgramsWait);
    if (!result.done()) return programRefusal(result, session_.linkLost());
    return Reply{200, Json{{"programs", kPrograms}}};
  });
}

Reply DeviceService::meters() {
  if (auto refused = withoutLink()) return *refused;
  return Reply{200, control::MeterLevels::read(session_.image()).json()};
}

void DeviceService::askForLevels() {
  if (link() == Link::Open) session_.command().levelRequest().request();
}

}  // namespace orvane::server
