#include "control/DeviceJson.h"

#include <tuple>

#include "model/NameField.h"

namespace orvane::control::DeviceJson {

std::string dump(const Json& json) {
  return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

Json program(int number, const std::string& name) {
  return Json{{"program", number}, {"name", name}};
}

Json programs(const std::vector<std::string>& names) {
  Json list = Json::array();
  for (std::size_t p = 0; p < names.size(); ++p) list.push_back(program(static_cast<int>(p) + 1, names[p]));
  return list;
}

Json identity(const ParameterImage& image, const std::string& firmware, int modelCode) {
  const auto [deviceId, number, name] = image.read([](const ImageData& d) {
    return std::tuple(d.connection.deviceId, d.currentProgramNumber, d.currentProgramName);
  });
  return Json{{"deviceId", deviceId},
              {"firmware", firmware},
              {"model", modelCode},
              {"program", Json{{"number", number}, {"name", NameField::FieldToText(name)}}}};
}

}  // namespace orvane::control::DeviceJson
