#include "platform/LocalTime.h"

namespace orvane {

std::tm localTime(std::time_t moment) {
  std::tm local{};
  localtime_s(&local, &moment);
  return local;
}

}  // namespace orvane
