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

TEST(ServerRoute, EachAnswerBecomesTheExitStatusAndMessageOfTheDirectLink) {
  const std::string at = "127.0.0.1:8080";
  struct Case {
    int status;
    const char* body;
    const char* failure;
    int exit;
    const char* message;
  };
  const Case cases[] = {
      {0, "", "connection refused", Outcome::Failed,
       "cannot reach the server at 127.0.0.1:8080: connection refused"},
      {0, "", "no answer in time", Outcome::Failed,
       "cannot reach the server at 127.0.0.1:8080: no answer in time"},
      {400, R"({"error":"-99dB is below the range -60dB .. 12dB"})", "", Outcome::UsageError,
       "-99dB is below the range -60dB .. 12dB"},
      {404, R"({"error":"unknown path 'in.Z.gain'"})", "", Outcome::UsageError, "unknown path 'in.Z.gain'"},
      {400, "not json", "", Outcome::UsageError, "the server at 127.0.0.1:8080 refused the request"},
      {401, R"({"error":"wrong access code"})", "", Outcome::Failed,
       "the server at 127.0.0.1:8080 refused the access code"},
      {403, R"({"error":"recalling programs is locked on the device"})", "", Outcome::Failed,
       "recalling programs is locked on the device"},
      {409, R"j({"error":"no link to the device (lost)"})j", "", Outcome::Failed,
       "the server at 127.0.0.1:8080: no link to the device (lost)"},
      {429, R"({"error":"too many wrong codes; try again later"})", "", Outcome::Failed,
       "the server at 127.0.0.1:8080: too many wrong codes; try again later"},
      {502, R"({"error":"the device did not answer"})", "", Outcome::Failed, "the device did not answer"},
      {503, R"({"error":"the device is busy with the commands before this one"})", "", Outcome::Failed,
       "the server at 127.0.0.1:8080: the device is busy with the commands before this one"},
      {500, "", "", Outcome::Failed, "the server at 127.0.0.1:8080 answered with HTTP status 500"},
  };
  for (const Case& c : cases) {
    const Outcome outcome = ServerRoute::refused({c.status, c.failure, c.body}, at);
    EXPECT_EQ(outcome.status, c.exit) << c.status << " " << c.body;
    EXPECT_EQ(outcome.error, c.message) << c.status << " " << c.body;
  }
}

TEST(ServerRoute, NamesAServerByItsIpv4AddressAndOffersOnlyWhatTheServerCanDo) {
  const auto port = [](const std::string& link) {
    const auto server = ServerRoute::parse(link);
    return server ? server->host + ":" + std::to_string(server->port) : std::string("none");
  };
  EXPECT_EQ(port("server:127.0.0.1"), "127.0.0.1:8080");
  EXPECT_EQ(port("server:192.0.2.7:9000"), "192.0.2.7:9000");
  EXPECT_EQ(port("server:room-pc"), "none");
  EXPECT_EQ(port("server:127.0.0.1:0"), "none");
  EXPECT_EQ(port("net:127.0.0.1"), "none");
  EXPECT_FALSE(ServerRoute::named("net:127.0.0.1"));
  EXPECT_NE(ServerRoute::refusal("server:room-pc").find("host names are not supported"), std::string::npos);

  for (const char* offered :
       {"status", "get", "set", "programs", "recall", "store", "meters", "backup", "restore"})
    EXPECT_FALSE(ServerRoute::notOffered(offered)) << offered;
  for (const char* direct : {"save", "load", "report", "delete", "import-rew"}) {
    const auto refused = ServerRoute::notOffered(direct);
    ASSERT_TRUE(refused) << direct;
    EXPECT_EQ(refused->status, Outcome::UsageError);
    EXPECT_EQ(refused->error,
              "'" + std::string(direct) +
                  "' needs a direct link to the device; it is not offered through the server");
  }
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
