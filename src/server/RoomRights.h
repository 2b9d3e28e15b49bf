#pragma once

// What the room code may do: exactly what the panel file shows. It may
// read everything the page reads (status, panel, programs, meters, the
// live stream, any parameter: the stream shows them all), change the
// controls the panel gives its channels and the master section, and recall
// the panel's programs. Everything else — other parameters, other
// programs, and every resource not named here — is the installer's.

#include <set>
#include <string>

#include "control/DeviceJson.h"
#include "server/ApiResource.h"

namespace orvane::server {

class RoomRights {
 public:
  // From a panel layout with every member filled in (Panel::parse).
  explicit RoomRights(const control::Json& panel);

  // Why the room code may not make this request; empty when it may.
  std::string refusal(http::verb method, const ApiResource& resource) const;

 private:
  std::set<std::string> changeable_;  // parameter paths, as ParameterPath names them
  std::set<int> programs_;
};

}  // namespace orvane::server
