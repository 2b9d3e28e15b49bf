#include "control/DeviceJson.h"

#include <tuple>

#include "control/ParameterPath.h"
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

std::optional<Json> identityIn(const Json& answer) {
  if (!answer.is_object()) return std::nullopt;
  const auto has = [&answer](const char* name, bool (Json::*type)() const noexcept) {
    return answer.contains(name) && (answer[name].*type)();
  };
  if (!has("deviceId", &Json::is_number_integer) || !has("firmware", &Json::is_string) ||
      !has("model", &Json::is_number_integer) || !has("program", &Json::is_object))
    return std::nullopt;
  const Json& program = answer["program"];
  if (!program.contains("number") || !program["number"].is_number_integer() || !program.contains("name") ||
      !program["name"].is_string())
    return std::nullopt;
  return Json{{"deviceId", answer["deviceId"]},
              {"firmware", answer["firmware"]},
              {"model", answer["model"]},
              {"program", Json{{"number", program["number"]}, {"name", program["name"]}}}};
}

Json parameterSet(const std::string& path, const std::string& value, const std::vector<std::string>& changed,
                  const ParameterImage& image) {
  Json values{{path, value}};
  for (const std::string& name : changed) {
    if (name == path) continue;
    const auto parsed = ParameterPath::parse(name);
    if (const auto* other = std::get_if<ParameterPath>(&parsed)) values[name] = other->text(image);
  }
  return Json{{"path", path}, {"value", value}, {"changed", changed}, {"values", values}};
}

}  // namespace orvane::control::DeviceJson
