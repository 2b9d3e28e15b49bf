#include "cli/MasterLevelFile.h"

#include <cctype>
#include <fstream>

#include "control/DeviceJson.h"
#include "model/Scales.h"
#include "platform/AtomicFile.h"

namespace orvane::cli {

namespace {

using control::Json;

constexpr std::pair<Side, const char*> kSides[] = {{Side::Input, "in"}, {Side::Output, "out"}};

// A file name for the link: "net-127.0.0.1-8899", "serial-dev-ttyUSB0-3".
std::string keyOf(const ConnectTarget& target) {
  std::string key = target.link == LinkType::Usb ? "usb"
                    : target.link == LinkType::Network
                        ? "net-" + target.address
                        : "serial-" + target.address + "-" + std::to_string(target.deviceId);
  for (char& c : key)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '-') c = '-';
  return key;
}

}  // namespace

std::optional<MasterLevelFile> MasterLevelFile::of(const ConnectTarget& target,
                                                   const std::optional<std::filesystem::path>& stateFolder) {
  if (!stateFolder) return std::nullopt;
  return MasterLevelFile(*stateFolder / "orvane" / ("master-" + keyOf(target) + ".json"));
}

MasterSectionMemory MasterLevelFile::read() const {
  MasterSectionMemory memory;
  std::ifstream file(path_);
  const Json json = Json::parse(file, nullptr, false);
  if (!json.is_object()) return memory;
  for (const auto& [side, key] : kSides) {
    const auto level = json.find(key);
    if (level != json.end() && level->is_number_integer() && *level > 0 &&
        *level <= Scales::kMasterLevel.storedMaximum())
      memory.remember(side, level->get<int>());
  }
  return memory;
}

std::string MasterLevelFile::write(const MasterSectionMemory& memory) const {
  Json json = Json::object();
  for (const auto& [side, key] : kSides)
    if (const auto level = memory.level(side)) json[key] = *level;
  std::error_code error;
  std::filesystem::create_directories(path_.parent_path(), error);
  if (error) return error.message();
  const AtomicFile::Result written = AtomicFile::write(path_, json.dump() + "\n");
  return written ? std::string() : written.explain();
}

}  // namespace orvane::cli
