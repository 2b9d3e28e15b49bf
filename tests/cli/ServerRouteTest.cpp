// orvanectl's route through a running server, without one: how each kind of
// answer from the server becomes an exit status and a message, which links
// name a server, which commands the route offers, and the meters and the
// device identity read back from the server's JSON as the direct link shows
// them.

#include <gtest/gtest.h>

#include "cli/ServerRoute.h"
#include "control/MeterLevels.h"

namespace orvane::cli {
namespace {

// What orvanectl makes of each thing the route meets, as the user reads it:
// an answer from the server (its exit status and message), a link that may
// name a server, and a command the server may not offer.
TEST(ServerRoute, EachAnswerLinkAndCommandIsTakenAsTheDirectLinkWouldTakeIt) {
  const std::string at = "127.0.0.1:8080";
  // The exit status and the message.
  const auto said = [](const Outcome& outcome) {
    return std::to_string(outcome.status) + " " + outcome.error;
  };
  const auto answer = [&](int status, const char* body, const char* failure = "") {
    return said(ServerRoute::refused({status, failure, body, {}}, at));
  };
  // Whether the link names a server, and the server's address.
  const auto server = [](const std::string& link) {
    const auto endpoint = ServerRoute::parse(link);
    return std::string(ServerRoute::named(link) ? "server " : "") +
           (endpoint ? endpoint->host + ":" + std::to_string(endpoint->port) : "none");
  };
  const auto command = [&](const char* name) {
    const auto refused = ServerRoute::notOffered(name);
    return refused ? said(*refused) : "offered";
  };
  const std::pair<std::string, std::string> cases[] = {
      {answer(0, "", "connection refused"),
       "1 cannot reach the server at 127.0.0.1:8080: connection refused"},
      {answer(0, "", "no answer in time"), "1 cannot reach the server at 127.0.0.1:8080: no answer in time"},
      {answer(400, R"({"error":"-99dB is below the range -60dB .. 12dB"})"),
       "2 -99dB is below the range -60dB .. 12dB"},
      {answer(404, R"({"error":"unknown path 'in.Z.gain'"})"), "2 unknown path 'in.Z.gain'"},
      {answer(400, "not json"), "2 the server at 127.0.0.1:8080 refused the request"},
      {answer(401, R"({"error":"wrong access code"})"),
       "1 the server at 127.0.0.1:8080 refused the access code"},
      {answer(403, R"({"error":"recalling programs is locked on the device"})"),
       "1 recalling programs is locked on the device"},
      {answer(409, R"j({"error":"no link to the device (lost)"})j"),
       "1 the server at 127.0.0.1:8080: no link to the device (lost)"},
      {answer(429, R"({"error":"too many wrong codes; try again later"})"),
       "1 the server at 127.0.0.1:8080: too many wrong codes; try again later"},
      {answer(502, R"({"error":"the device did not answer"})"), "1 the device did not answer"},
      {answer(503, R"({"error":"the device is busy with the commands before this one"})"),
       "1 the server at 127.0.0.1:8080: the device is busy with the commands before this one"},
      {answer(500, ""), "1 the server at 127.0.0.1:8080 answered with HTTP status 500"},
      {server("server:127.0.0.1"), "server 127.0.0.1:8080"},
      {server("server:192.0.2.7:9000"), "server 192.0.2.7:9000"},
      {server("server:room-pc"), "server none"},
      {server("server:127.0.0.1:0"), "server none"},
      {server("net:127.0.0.1"), "none"},
      {ServerRoute::refusal("server:room-pc"),
       "'server:room-pc' names no server: give server:ADDR[:PORT] with the server's IPv4 address (host names "
       "are not supported) and its port (default 8080)"},
  };
  for (const auto& [got, expected] : cases) EXPECT_EQ(got, expected);
  for (const char* offered :
       {"status", "get", "set", "programs", "recall", "store", "meters", "backup", "restore"})
    EXPECT_EQ(command(offered), "offered");
  for (const char* name : {"save", "load", "report", "delete", "import-rew"})
    EXPECT_EQ(command(name), "2 '" + std::string(name) +
                                 "' needs a direct link to the device; it is not offered through the server");
}

TEST(ServerRoute, ReadsTheServersMetersAndIdentityAsTheDirectLinkHasThem) {
  control::MeterLevels levels;
  levels.inputs = {0x00, 0x08, 0x53, 0x78, 1, 2, 3, 4};
  levels.outputs = {8, 7, 6, 5, 4, 3, 2, 0x11};
  const auto back = control::MeterLevels::fromJson(levels.json());
  ASSERT_TRUE(back);
  EXPECT_EQ(back->line(), levels.line());
  EXPECT_EQ(back->json(), levels.json());
  Json broken = levels.json();
  broken["outputs"][3]["level"] = "8";
  EXPECT_FALSE(control::MeterLevels::fromJson(broken));
  EXPECT_FALSE(control::MeterLevels::fromJson(Json{{"inputs", Json::array()}}));

  const Json status = Json::parse(
      R"({"link":"open","target":"net:192.0.2.20","deviceId":3,"firmware":"J-DV1.20","model":7304,)"
      R"("program":{"number":4,"name":"Talk"}})");
  const auto identity = control::DeviceJson::identityIn(status);
  ASSERT_TRUE(identity);
  EXPECT_EQ(control::DeviceJson::dump(*identity),
            R"({"deviceId":3,"firmware":"J-DV1.20","model":7304,"program":{"number":4,"name":"Talk"}})");
  EXPECT_FALSE(control::DeviceJson::identityIn(Json{{"link", "lost"}}));
}

}  // namespace
}  // namespace orvane::cli
