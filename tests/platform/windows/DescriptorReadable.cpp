#include "DescriptorReadable.h"

#include <windows.h>

namespace orvane {

bool descriptorReadable(const Event& event) {
  return ::WaitForSingleObject(LongToHandle(event.descriptor()), 0) == WAIT_OBJECT_0;
}

}  // namespace orvane
