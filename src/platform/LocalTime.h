#pragma once

// The local time of a moment, as log lines and file names show it; safe to
// call from several threads at once.

#include <ctime>

namespace orvane {

std::tm localTime(std::time_t moment);

}  // namespace orvane
