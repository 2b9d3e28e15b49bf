#include "server/RoomRights.h"

#include "control/ParameterPath.h"
#include "model/ProgramStore.h"
#include "platform/ParseNumber.h"

namespace orvane::server {

namespace {

using Kind = ApiResource::Kind;

constexpr const char* kAsk = "; ask the installer";

// The path's own name ("in.b.GAIN" → "in.B.gain"); empty when it names none.
std::string canonical(const std::string& text) {
  const auto parsed = control::ParameterPath::parse(text);
  const auto* path = std::get_if<control::ParameterPath>(&parsed);
  return path ? path->name() : std::string();
}

bool reads(http::verb method) {
  return method == http::verb::get || method == http::verb::head;
}

}  // namespace

RoomRights::RoomRights(const control::Json& panel) {
  for (const char* control : {"level", "mute"})
    if (panel["master"][control].get<bool>())
      changeable_.insert(canonical(std::string("master.out.") + control));
  for (const auto& [member, side] : {std::pair{"inputs", "in."}, std::pair{"outputs", "out."}})
    for (const control::Json& entry : panel[member])
      for (const control::Json& control : entry["controls"])
        changeable_.insert(
            canonical(side + entry["channel"].get<std::string>() + "." + control.get<std::string>()));
  for (const control::Json& program : panel["programs"]) programs_.insert(program.get<int>());
}

std::string RoomRights::refusal(http::verb method, const ApiResource& resource) const {
  switch (resource.kind) {
    case Kind::Status:
    case Kind::Panel:
    case Kind::Programs:
    case Kind::Meters:
    case Kind::Events:
      return {};
    case Kind::Parameter:
      if (reads(method) || changeable_.contains(canonical(resource.part))) return {};
      return "the room code may not change '" + resource.part + "'" + kAsk;
    case Kind::Recall:
      if (const auto program = parseNumber(resource.part, 1, kPrograms);
          program && programs_.contains(*program))
        return {};
      return "the room code may not recall program " + resource.part + kAsk;
    default:
      return "the room code may not use " + std::string(http::to_string(method)) + " " + resource.path + kAsk;
  }
}

}  // namespace orvane::server
