#include "bridge/BridgeLog.h"

#include <ctime>

namespace orvane {

BridgeLog::BridgeLog(std::FILE* out)
    : sink_([out](const std::string& line) {
        std::fprintf(out, "%s\n", line.c_str());
        std::fflush(out);
      }) {}

void BridgeLog::write(const std::string& line) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
  std::lock_guard lock(mutex_);
  sink_(std::string(stamp) + " orvane-bridge: " + line);
}

}  // namespace orvane
