#pragma once

// orvanectl through a running orvane-server ("--connect server:ADDR[:PORT]").
// A device serves one link at a time, and a new link replaces the one
// before; while the server holds it, scripts and cron jobs go through the
// server's API instead, and share its link. The commands offered there
// print what they print on a direct link, with the same exit status: a
// refused value or path is a usage error (2), a refused code, a server
// without a link, a device that failed the command or a server out of
// reach fail (1).

#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "cli/CommandContext.h"
#include "cli/ServerClient.h"

namespace orvane::cli {

class ServerRoute {
 public:
  // orvane-server's own default port.
  static constexpr int kDefaultPort = 8080;

  // Whether `link` names the route: "server:...".
  static bool named(const std::string& link);
  // The server's address in "server:ADDR[:PORT]"; nothing when it is not
  // an IPv4 number with an optional port.
  static std::optional<NetEndpoint> parse(const std::string& link);
  static std::string refusal(const std::string& link);
  // The usage error for `command` when the server does not offer it;
  // nothing when it does.
  static std::optional<Outcome> notOffered(const std::string& command);
  // The outcome of an answer that is not 200 from the server at `address`.
  static Outcome refused(const ServerClient::Answer& answer, const std::string& address);

  // `link` names the route in status; `variant` the model whose file
  // extension a backup's file name gets; `print` and `interrupted` serve
  // the watch of the meters.
  ServerRoute(ServerClient& client, std::string link, ProductVariant variant,
              std::function<void(const std::string&)> print, std::function<bool()> interrupted);

  // Runs the words of one command (checked by CommandRunner::check).
  Outcome run(const Words& words);

 private:
  using Answer = ServerClient::Answer;
  using Method = Outcome (ServerRoute::*)(const Words& args);
  struct Command {
    const char* name;
    Method method;
  };
  static const std::vector<Command>& commands();

  // The JSON of the answer to a request, or the outcome that says why
  // there is none.
  std::variant<Json, Outcome> call(boost::beast::http::verb method, const std::string& target,
                                   const std::string& body = {});
  Outcome status(const Words& args);
  Outcome get(const Words& args);
  Outcome set(const Words& args);
  Outcome programs(const Words& args);
  Outcome recall(const Words& args);
  Outcome store(const Words& args);
  Outcome meters(const Words& args);
  Outcome backup(const Words& args);
  Outcome restore(const Words& args);
  // The program command `done` ("recalled") on the program typed as `word`.
  Outcome onProgram(const char* action, const char* done, const std::string& word, const Json& body);
  // The outcome of an answer that came but cannot be read.
  Outcome unreadable() const;

  ServerClient& client_;
  std::string link_;
  ProductVariant variant_;
  std::function<void(const std::string&)> print_;
  std::function<bool()> interrupted_;
};

}  // namespace orvane::cli
