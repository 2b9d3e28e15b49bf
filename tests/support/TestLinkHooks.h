#pragma once

// The hooks of a transport that a test drives by hand, in place of the
// worker: the connection check is the one the test's dispatcher settles, an
// ID search runs while `searching` is set, and every exchange goes back to
// the test.

#include <atomic>

#include "protocol/ConnectionCheck.h"
#include "transport/LinkHooks.h"

namespace orvane {

class TestLinkHooks : public LinkHooks {
 public:
  explicit TestLinkHooks(const ConnectionCheck& check) : check_(check) {}

  bool connectionCheckPending() const override { return check_.pending(); }
  bool endIdSearch() override { return searching.exchange(false); }
  bool carryPass(LinkType) override { return false; }

  std::atomic<bool> searching{false};

 private:
  const ConnectionCheck& check_;
};

}  // namespace orvane
