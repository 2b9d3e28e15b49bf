#pragma once

// The hooks the editor's link machinery gives each of its transports: the
// connection check that the worker starts and the dispatcher settles, the ID
// search of the connection manager once one is attached, and the worker's
// idle pass.

#include <atomic>

#include "link/CommunicationWorker.h"
#include "link/IdSearch.h"
#include "protocol/ConnectionCheck.h"
#include "transport/LinkHooks.h"

namespace orvane {

class EditorLinkHooks : public LinkHooks {
 public:
  EditorLinkHooks(const ConnectionCheck& check, CommunicationWorker& worker)
      : check_(check), worker_(worker) {}

  // The search that a failing serial port ends; none when null. Attached
  // before any link opens.
  void attachIdSearch(IdSearch* search) { search_.store(search); }

  bool connectionCheckPending() const override { return check_.pending(); }
  bool endIdSearch() override {
    IdSearch* search = search_.load();
    return search && search->end();
  }
  bool carryPass(LinkType link) override { return worker_.carryPass(link); }

 private:
  const ConnectionCheck& check_;
  CommunicationWorker& worker_;
  std::atomic<IdSearch*> search_{nullptr};
};

}  // namespace orvane
