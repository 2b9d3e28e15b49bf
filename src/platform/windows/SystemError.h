#pragma once

// What Windows says about an error code, as UTF-8 text.

#include <string>

namespace orvane {

// The text of the error code `error` (a GetLastError() value) without its
// line end; the number when Windows has no text for it.
std::string systemMessage(unsigned long error);

// The text of the calling thread's last error.
std::string lastSystemMessage();

}  // namespace orvane
