#include "platform/windows/SystemError.h"

#include <windows.h>

#include <string_view>

namespace orvane {

std::string systemMessage(unsigned long error) {
  wchar_t* text = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string message;
  if (length > 0) {
    const int bytes =
        ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    message.resize(static_cast<std::size_t>(bytes));
    ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), message.data(), bytes, nullptr,
                          nullptr);
  }
  ::LocalFree(text);
  // Windows ends its texts with a full stop and a line end.
  while (!message.empty() && std::string_view(" .\r\n").find(message.back()) != std::string_view::npos)
    message.pop_back();
  return message.empty() ? "error " + std::to_string(error) : message;
}

std::string lastSystemMessage() {
  return systemMessage(::GetLastError());
}

}  // namespace orvane
