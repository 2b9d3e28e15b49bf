#include "server/ControlPage.h"

namespace orvane::server {

const ControlPage::File* ControlPage::find(std::string_view target) {
  std::string_view path = target.substr(0, target.find('?'));
  if (path == "/") path = "/index.html";
  for (const File& file : files())
    if (file.path == path) return &file;
  return nullptr;
}

}  // namespace orvane::server
