#include "model/SaveName.h"

namespace orvane::SaveName {

std::filesystem::path withExtension(const std::filesystem::path& path, std::string_view extension) {
  if (path.empty() || path.filename().string().find(extension) != std::string::npos) return path;
  return path.string() + std::string(extension);
}

}  // namespace orvane::SaveName
