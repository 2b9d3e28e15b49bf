#include "bridge/BridgeLog.h"

#include <ctime>

namespace orvane {

void BridgeLog::write(const std::string& line) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
  std::lock_guard lock(mutex_);
  std::fprintf(out_, "%s orvane-bridge: %s\n", stamp, line.c_str());
  std::fflush(out_);
}

}  // namespace orvane
