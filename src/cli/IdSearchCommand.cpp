#include "cli/IdSearchCommand.h"

#include <mutex>
#include <ostream>

#include "editor/EditorSession.h"
#include "platform/QuietNotifier.h"

namespace orvane::cli::IdSearchCommand {

namespace {

constexpr std::string_view kSerialPrefix = "serial:";

// The probed ID on one line of a terminal, rewritten as the search goes
// (from the link's worker thread).
class ProgressLine : public QuietNotifier {
 public:
  ProgressLine(std::ostream& out, bool shown) : out_(out), shown_(shown) {}
  void post(Message, std::intptr_t, std::intptr_t) override {}
  void setIdSearchProgress(int position) override {
    if (!shown_) return;
    std::lock_guard lock(mutex_);
    out_ << "\rsearching the bus: ID " << position << " of " << ConnectionState::kMaxDeviceId << std::flush;
  }
  // Clears the line once the search is over.
  void finish() {
    if (!shown_) return;
    std::lock_guard lock(mutex_);
    out_ << "\r\033[K" << std::flush;
  }

 private:
  std::ostream& out_;
  const bool shown_;
  std::mutex mutex_;
};

std::vector<int> foundIds(const ParameterImage& image) {
  std::vector<int> ids;
  image.read([&](const ImageData& d) {
    for (const auto entry : d.connection.idTable)
      if (entry != 0) ids.push_back(entry);
  });
  return ids;
}

}  // namespace

std::string checkPort(const std::string& link) {
  if (link.starts_with(kSerialPrefix) && link.size() > kSerialPrefix.size()) return {};
  return "search-id takes the RS-485 port to search as serial:PORT (serial:/dev/ttyUSB0), not '" + link + "'";
}

Outcome run(const std::string& link, const ProductVariant& variant, std::ostream& progress,
            bool showProgress) {
  const std::string port = link.substr(kSerialPrefix.size());
  ParameterImage image;
  ProgressLine line(progress, showProgress);
  editor::EditorSession session(image, {.timings = editor::EditorSession::defaultTimings(),
                                        .transports = {},
                                        .notifier = &line,
                                        .variant = variant});
  if (session.connection().startIdSearch(port) != SearchStart::Started) {
    const LinkFault fault = session.command().openFailure(LinkType::Serial);
    return Outcome::device(fault.known() ? fault.text() : "cannot open the serial port '" + port + "'");
  }
  // The search reports its end as a lost link; a port that failed on the way
  // ends it first.
  const std::string error = session.waitFor(Message::LinkLost, 1);
  const bool portFailed = session.connection().classifyLoss(LinkType::Serial) == LinkLoss::Lost;
  session.close();
  line.finish();
  if (!error.empty()) return Outcome::device(error);
  if (portFailed) return Outcome::device("the search of '" + port + "' broke off: the serial port failed");
  const std::vector<int> ids = foundIds(image);
  if (ids.empty())
    return Outcome::device("no device answered on '" + port + "' (IDs 1 to 250 probed at 57600 8N1)");
  std::string text;
  for (const int id : ids) text += "ID " + std::to_string(id) + "\n";
  return Outcome::done(text, Json{{"port", port}, {"ids", ids}});
}

}  // namespace orvane::cli::IdSearchCommand
