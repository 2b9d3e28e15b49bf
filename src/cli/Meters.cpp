#include "cli/Meters.h"

#include <thread>

namespace orvane::cli::Meters {

std::optional<Outcome> watchRefusal(const std::vector<std::string>& args) {
  if (args.size() == 1 && args[0] == "--watch") return std::nullopt;
  return Outcome::usage("meters takes only --watch");
}

control::MeterLevels freshLevels(editor::EditorSession& session, std::chrono::milliseconds wait) {
  const int before = session.notifier().count(Message::LevelsRead);
  session.command().levelRequest().request();
  const auto deadline = std::chrono::steady_clock::now() + wait;
  while (session.notifier().count(Message::LevelsRead) == before &&
         std::chrono::steady_clock::now() < deadline && !session.linkLost())
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  return control::MeterLevels::read(session.image());
}

}  // namespace orvane::cli::Meters
