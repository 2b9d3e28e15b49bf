#pragma once

// The device as every front-end answers it in JSON — orvanectl's --json and
// the server's API alike: its programs, its identity and the text of a JSON
// value. Members keep the order they were added in.

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "model/ParameterImage.h"

namespace orvane::control {

using Json = nlohmann::ordered_json;

namespace DeviceJson {

// The JSON text of `json`, one line; bytes that are not UTF-8 are replaced.
std::string dump(const Json& json);
// {"program": N, "name": "..."}, as every program answer names one.
Json program(int number, const std::string& name);
// The programs in order, program 1 first, each as program().
Json programs(const std::vector<std::string>& names);
// The device as the image holds it, without waiting for it: its ID, the
// firmware it reported, the model and the current program.
Json identity(const ParameterImage& image, const std::string& firmware, int modelCode);
// The members of identity() taken out of a larger answer (the server's
// status); nothing when one is missing or of another type.
std::optional<Json> identityIn(const Json& answer);
// The answer to a change of `path` to `value` that changed the paths
// `changed` (the channels linked with it included): {"path", "value",
// "changed", "values"}, where "values" holds every changed path's value as
// `image` now shows it, `path` first.
Json parameterSet(const std::string& path, const std::string& value, const std::vector<std::string>& changed,
                  const ParameterImage& image);

}  // namespace DeviceJson

}  // namespace orvane::control
