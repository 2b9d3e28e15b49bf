#include "DescriptorReadable.h"

#include <poll.h>

namespace orvane {

bool descriptorReadable(const Event& event) {
  pollfd fd{event.descriptor(), POLLIN, 0};
  return ::poll(&fd, 1, 0) == 1 && (fd.revents & POLLIN) != 0;
}

}  // namespace orvane
