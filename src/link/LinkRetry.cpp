#include "link/LinkRetry.h"

namespace orvane {

bool LinkRetry::change(State state, const std::string& error, Clock::time_point now) {
  nextOpen_ = state == State::Open ? Clock::time_point::max() : now + pause_;
  if (state == told_ && error == toldError_) return false;
  told_ = state;
  toldError_ = error;
  return true;
}

}  // namespace orvane
