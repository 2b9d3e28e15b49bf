#pragma once

// The control page the server ships inside the program: its HTML, script
// and style, served as they are. Nothing is fetched from elsewhere.

#include <cstdint>
#include <span>
#include <string_view>

namespace orvane::server {

class ControlPage {
 public:
  struct File {
    std::string_view path;  // "/index.html"
    std::string_view contentType;
    std::span<const unsigned char> bytes;
  };

  static std::span<const File> files();
  // The file a request's target names ("/" is the page itself, a query is
  // left aside); null for none.
  static const File* find(std::string_view target);
};

}  // namespace orvane::server
