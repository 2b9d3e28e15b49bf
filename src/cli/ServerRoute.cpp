#include "cli/ServerRoute.h"

#include <algorithm>
#include <thread>

#include "cli/CommandTexts.h"
#include "cli/Meters.h"
#include "model/ProgramFile.h"
#include "model/ProgramStore.h"
#include "model/SaveName.h"

namespace orvane::cli {

namespace {

namespace http = boost::beast::http;
using Result = editor::ProgramOperations::Result;

constexpr std::string_view kPrefix = "server:";
// The server waits up to 5 s for the commands before one and 5 s for the
// device; beyond that the server itself is stuck.
constexpr std::chrono::seconds kRequestWait{30};
// The server gives a backup or a restore 300 s on the device.
constexpr std::chrono::seconds kProgramsWait{330};

// The error text of the server's answer; empty when it has none.
std::string errorIn(const std::string& body) {
  const Json json = Json::parse(body, nullptr, false);
  if (json.is_object() && json.contains("error") && json["error"].is_string())
    return json["error"].get<std::string>();
  return {};
}

std::string textIn(const Json& json, const char* name) {
  return json.is_object() && json.contains(name) && json[name].is_string() ? json[name].get<std::string>()
                                                                           : std::string();
}

// The server's list of programs as the program operations list them.
std::optional<editor::ProgramOperations::Listing> listingIn(const Json& json) {
  const auto program = [](const Json& entry, int& number, std::string& name) {
    if (!entry.is_object() || !entry.contains("program") || !entry["program"].is_number_integer() ||
        !entry.contains("name") || !entry["name"].is_string())
      return false;
    number = entry["program"].get<int>();
    name = entry["name"].get<std::string>();
    return true;
  };
  editor::ProgramOperations::Listing listing;
  if (!json.is_object() || !json.contains("current") || !json.contains("programs") ||
      !json["programs"].is_array() || json["programs"].size() != kPrograms ||
      !program(json["current"], listing.current, listing.currentName))
    return std::nullopt;
  for (const Json& entry : json["programs"]) {
    int number = 0;
    std::string name;
    if (!program(entry, number, name)) return std::nullopt;
    listing.names.push_back(std::move(name));
  }
  return listing;
}

}  // namespace

bool ServerRoute::named(const std::string& link) {
  return link.starts_with(kPrefix);
}

std::optional<NetEndpoint> ServerRoute::parse(const std::string& link) {
  if (!named(link)) return std::nullopt;
  return parseNetEndpoint(std::string_view(link).substr(kPrefix.size()), kDefaultPort);
}

std::string ServerRoute::refusal(const std::string& link) {
  return "'" + link +
         "' names no server: give server:ADDR[:PORT] with the server's IPv4 address (host names are not "
         "supported) and its port (default " +
         std::to_string(kDefaultPort) + ")";
}

const std::vector<ServerRoute::Command>& ServerRoute::commands() {
  static const std::vector<Command> table{
      {"status", &ServerRoute::status},   {"get", &ServerRoute::get},
      {"set", &ServerRoute::set},         {"programs", &ServerRoute::programs},
      {"recall", &ServerRoute::recall},   {"store", &ServerRoute::store},
      {"meters", &ServerRoute::meters},   {"backup", &ServerRoute::backup},
      {"restore", &ServerRoute::restore},
  };
  return table;
}

std::optional<Outcome> ServerRoute::notOffered(const std::string& command) {
  const auto& table = commands();
  if (std::any_of(table.begin(), table.end(), [&](const Command& c) { return command == c.name; }))
    return std::nullopt;
  return Outcome::usage("'" + command +
                        "' needs a direct link to the device; it is not offered through the server");
}

Outcome ServerRoute::refused(const Answer& answer, const std::string& address) {
  const std::string server = "the server at " + address;
  if (answer.status == 0) return Outcome::device("cannot reach " + server + ": " + answer.failure);
  const std::string error = errorIn(answer.body);
  const std::string told = error.empty() ? server + " refused the request" : error;
  switch (answer.status) {
    case 400:
    case 404:
      return Outcome::usage(told);
    case 401:
      return Outcome::device(server + " refused the access code");
    case 403:
    case 502:
      return Outcome::device(told);
    case 409:
    case 429:
    case 503:
      return Outcome::device(server + ": " + error);
    default:
      return Outcome::device(server + " answered with HTTP status " + std::to_string(answer.status) +
                             (error.empty() ? "" : ": " + error));
  }
}

ServerRoute::ServerRoute(ServerClient& client, std::string link, ProductVariant variant,
                         std::function<void(const std::string&)> print, std::function<bool()> interrupted)
    : client_(client),
      link_(std::move(link)),
      variant_(variant),
      print_(std::move(print)),
      interrupted_(std::move(interrupted)) {}

Outcome ServerRoute::run(const Words& words) {
  if (words[0] == "batch") return Outcome::usage("'batch' cannot run inside a batch");
  if (auto refusedHere = notOffered(words[0])) return *refusedHere;
  const auto& table = commands();
  const auto command =
      std::find_if(table.begin(), table.end(), [&](const Command& c) { return words[0] == c.name; });
  return (this->*command->method)(Words(words.begin() + 1, words.end()));
}

std::variant<Json, Outcome> ServerRoute::call(http::verb method, const std::string& target,
                                              const std::string& body) {
  const Answer answer = client_.request(method, target, body, kRequestWait);
  if (answer.status != 200) return refused(answer, client_.address());
  Json json = Json::parse(answer.body, nullptr, false);
  if (json.is_discarded()) return unreadable();
  return json;
}

Outcome ServerRoute::unreadable() const {
  return Outcome::device("the server at " + client_.address() + " gave an answer orvanectl cannot read");
}

Outcome ServerRoute::status(const Words&) {
  auto answer = call(http::verb::get, "/api/status");
  if (auto* failed = std::get_if<Outcome>(&answer)) return *failed;
  const Json& state = std::get<Json>(answer);
  if (textIn(state, "link") != "open") {
    const std::string error = textIn(state, "lastError");
    return Outcome::device("the server at " + client_.address() + " has no link to the device (" +
                           textIn(state, "link") + ")" + (error.empty() ? "" : ": " + error));
  }
  const std::optional<Json> identity = control::DeviceJson::identityIn(state);
  if (!identity) return unreadable();
  auto meters = call(http::verb::get, "/api/meters");
  if (auto* failed = std::get_if<Outcome>(&meters)) return *failed;
  const auto levels = control::MeterLevels::fromJson(std::get<Json>(meters));
  if (!levels) return unreadable();
  return CommandTexts::status(link_, *identity, *levels);
}

Outcome ServerRoute::get(const Words& args) {
  auto answer = call(http::verb::get, "/api/params/" + args[0]);
  if (auto* failed = std::get_if<Outcome>(&answer)) return *failed;
  const Json& json = std::get<Json>(answer);
  return CommandTexts::parameter(textIn(json, "path"), textIn(json, "value"));
}

Outcome ServerRoute::set(const Words& args) {
  auto answer =
      call(http::verb::put, "/api/params/" + args[0], control::DeviceJson::dump(Json{{"value", args[1]}}));
  if (auto* failed = std::get_if<Outcome>(&answer)) return *failed;
  return CommandTexts::parameterSet(std::get<Json>(answer));
}

Outcome ServerRoute::programs(const Words&) {
  auto answer = call(http::verb::get, "/api/programs");
  if (auto* failed = std::get_if<Outcome>(&answer)) return *failed;
  const auto listing = listingIn(std::get<Json>(answer));
  return listing ? CommandTexts::programs(*listing) : unreadable();
}

Outcome ServerRoute::onProgram(const char* action, const char* done, const std::string& word,
                               const Json& body) {
  const auto number = CommandTexts::programNumber(word);
  if (!number) return CommandTexts::notAProgram(word);
  auto answer = call(http::verb::post, "/api/programs/" + std::to_string(*number) + "/" + action,
                     control::DeviceJson::dump(body));
  if (auto* failed = std::get_if<Outcome>(&answer)) return *failed;
  return CommandTexts::program(done, word, *number, textIn(std::get<Json>(answer), "name"));
}

Outcome ServerRoute::recall(const Words& args) {
  return onProgram("recall", "recalled", args[0], Json::object());
}

Outcome ServerRoute::store(const Words& args) {
  return onProgram("store", "stored", args[0], Json{{"name", args[1]}});
}

Outcome ServerRoute::meters(const Words& args) {
  const auto levels = [this]() -> std::variant<control::MeterLevels, Outcome> {
    auto answer = call(http::verb::get, "/api/meters");
    if (auto* failed = std::get_if<Outcome>(&answer)) return *failed;
    const auto read = control::MeterLevels::fromJson(std::get<Json>(answer));
    if (!read) return unreadable();
    return *read;
  };
  if (args.empty()) {
    const auto once = levels();
    if (const auto* failed = std::get_if<Outcome>(&once)) return *failed;
    return CommandTexts::meters(std::get<control::MeterLevels>(once));
  }
  if (auto refusedHere = Meters::watchRefusal(args)) return *refusedHere;
  int lines = 0;
  while (!interrupted_()) {
    const auto next = std::chrono::steady_clock::now() + Meters::kWatchPeriod;
    const auto now = levels();
    if (const auto* failed = std::get_if<Outcome>(&now)) return *failed;
    print_(std::get<control::MeterLevels>(now).line());
    ++lines;
    std::this_thread::sleep_until(next);
  }
  return Outcome::done({}, Json{{"lines", lines}});
}

Outcome ServerRoute::backup(const Words& args) {
  const Answer answer = client_.request(http::verb::get, "/api/backup", {}, kProgramsWait);
  if (answer.status != 200) return refused(answer, client_.address());
  // Named as the editor names an all-programs file it writes.
  const std::string path = SaveName::withExtension(args[0], variant_.programSetFileExtension).string();
  Result result;
  result.written =
      ProgramFile::writeBytes(path, std::vector<std::uint8_t>(answer.body.begin(), answer.body.end()));
  if (!result.written) result.status = Result::Status::NotWritten;
  return CommandTexts::backup(result, path);
}

Outcome ServerRoute::restore(const Words& args) {
  const auto bytes = ProgramFile::readBytes(args[0]);
  if (!bytes) return CommandTexts::restore(Result::failed(Result::Status::Unreadable), args[0]);
  const Answer answer =
      client_.request(http::verb::post, "/api/restore", std::string(bytes->begin(), bytes->end()),
                      kProgramsWait, "application/octet-stream");
  // A file of the wrong kind is refused with the kind it is, when it is a
  // program file at all.
  if (answer.status == 400) {
    const Json json = Json::parse(answer.body, nullptr, false);
    return CommandTexts::restore(Result::failed(Result::Status::WrongFile, textIn(json, "kind")), args[0]);
  }
  if (answer.status != 200) return refused(answer, client_.address());
  return CommandTexts::restore(Result{}, args[0]);
}

}  // namespace orvane::cli
