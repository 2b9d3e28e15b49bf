#include "server/ChangeFeed.h"

#include <algorithm>
#include <array>

#include "control/PathLocks.h"
#include "editor/ProgramOperations.h"

namespace orvane::server {

namespace {

// The functions of the page, each named by a path that stands for its kind
// ("in.A.gain" for the gain of every input), and program recall.
constexpr std::array<const char*, 8> kLockedFunctions{"in.A.name",        "in.A.gain",      "in.A.mute",
                                                      "out.1.name",       "out.1.gain",     "out.1.mute",
                                                      "master.out.level", "master.out.mute"};

template <class Map>
Json mapJson(const Map& map) {
  Json json = Json::object();
  for (const auto& [key, value] : map) json[key] = value;
  return json;
}

// Each parameter's text, or {"locked": true} in place of a hidden one.
template <class Map>
Json valuesJson(const Map& values) {
  Json json = Json::object();
  for (const auto& [path, value] : values) json[path] = value ? Json(*value) : Json{{"locked", true}};
  return json;
}

std::map<std::string, bool> functionLocks(const LockState& locks) {
  std::map<std::string, bool> locked;
  for (const char* function : kLockedFunctions) {
    const auto path = std::get<control::ParameterPath>(control::ParameterPath::parse(function));
    locked[function] = control::PathLocks::isLocked(path, locks);
  }
  locked["recall"] = locks.isLocked(LockFlag::LoadProgram);
  return locked;
}

}  // namespace

ChangeFeed::ChangeFeed(DeviceService& device) : device_(device), paths_(control::ParameterPath::all()) {}

ChangeFeed::~ChangeFeed() {
  stop_.set();
  if (thread_.joinable()) thread_.join();
  published_.notify_all();
}

void ChangeFeed::start() {
  {
    std::lock_guard lock(mutex_);
    state_ = sample();
  }
  thread_ = std::thread([this] { run(); });
}

void ChangeFeed::run() {
  do {
    device_.askForLevels();
    publish(sample());
  } while (!stop_.wait(kPeriod));
}

ChangeFeed::State ChangeFeed::sample() const {
  State state;
  state.link = DeviceService::linkName(device_.link());
  const ParameterImage& image = device_.image();
  state.levels = control::MeterLevels::read(image);
  const LockState locks = image.read([](const ImageData& d) { return d.locks; });
  for (const control::ParameterPath& path : paths_)
    state.values.emplace(path.name(), control::PathLocks::isLocked(path, locks) ? Value() : path.text(image));
  state.locks = functionLocks(locks);
  editor::ProgramOperations::Listing programs = editor::ProgramOperations::list(image);
  state.programNames = std::move(programs.names);
  state.program = programs.current;
  return state;
}

void ChangeFeed::publish(const State& now) {
  Json data = Json::object();
  std::lock_guard lock(mutex_);
  if (now.link != state_.link) data["link"] = now.link;
  if (now.levels != state_.levels) data["meters"] = now.levels.json();
  std::map<std::string, Value> changed;
  for (const auto& [path, value] : now.values)
    if (state_.values[path] != value) changed.emplace(path, value);
  if (!changed.empty()) data["params"] = valuesJson(changed);
  if (now.locks != state_.locks) data["locks"] = mapJson(now.locks);
  if (now.programNames != state_.programNames)
    data["programs"] = control::DeviceJson::programs(now.programNames);
  if (now.program != state_.program) data["program"] = now.program;
  if (data.empty()) return;
  state_ = now;
  recent_.emplace_back(++sequence_, event(data));
  if (recent_.size() > kRecentEvents) recent_.pop_front();
  published_.notify_all();
}

std::string ChangeFeed::event(const Json& data) {
  return "data: " + control::DeviceJson::dump(data) + "\n\n";
}

std::string ChangeFeed::snapshot() const {
  return event(Json{{"link", state_.link},
                    {"meters", state_.levels.json()},
                    {"params", valuesJson(state_.values)},
                    {"locks", mapJson(state_.locks)},
                    {"programs", control::DeviceJson::programs(state_.programNames)},
                    {"program", state_.program}});
}

bool ChangeFeed::behind(long seen) const {
  return seen < 0 || (!recent_.empty() && seen < recent_.front().first - 1);
}

std::optional<std::string> ChangeFeed::next(long& seen, std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  // While this reader waited, the feed may have published more than it
  // keeps: whether it fell behind is asked once the wait is over.
  if (seen >= 0 && !published_.wait_for(lock, timeout, [&] { return sequence_ > seen || stop_.isSet(); }))
    return std::nullopt;
  if (stop_.isSet()) return std::nullopt;
  if (behind(seen)) {
    seen = sequence_;
    return snapshot();
  }
  const auto after = std::ranges::find_if(recent_, [&](const auto& entry) { return entry.first > seen; });
  seen = after->first;
  return after->second;
}

}  // namespace orvane::server
