#pragma once

// The hooks of a link driven one request at a time without the editor's
// worker (the bridge): no connection check, no search, nothing carried.

#include "transport/LinkHooks.h"

namespace orvane {

class PlainLinkHooks : public LinkHooks {
 public:
  bool connectionCheckPending() const override { return false; }
  bool endIdSearch() override { return false; }
  bool carryPass(LinkType) override { return false; }
};

}  // namespace orvane
