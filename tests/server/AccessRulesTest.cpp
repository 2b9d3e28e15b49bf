// Who may use the server and how much of it: the access code's sources and
// files, the slowing down of wrong codes, the sessions of logged-in pages
// and the places for connections by address.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <thread>

#include "server/AccessCode.h"
#include "server/ConnectionCounter.h"
#include "server/LoginThrottle.h"
#include "server/ServerOptions.h"
#include "server/SessionTable.h"
#include "support/ScratchDir.h"

namespace orvane::server {
namespace {

using namespace std::chrono_literals;

TEST(AccessCode, ComesFromOnePlaceAndAFileOnlyWhenItIsPrivate) {
  const auto parsed = [](std::vector<std::string> args, const char* code, const char* roomCode = nullptr) {
    args.insert(args.begin(), {"--connect", "usb"});
    return ServerOptions::parse(args, nullptr, code, roomCode);
  };
  EXPECT_EQ(std::get<ServerOptions>(parsed({}, "from-env")).code, "from-env");
  EXPECT_EQ(std::get<ServerOptions>(parsed({"--code-file", "/x"}, nullptr)).codeFile, "/x");
  EXPECT_EQ(std::get<ServerOptions>(parsed({}, nullptr, "room-env")).roomCode, "room-env");
  EXPECT_EQ(std::get<ServerOptions>(parsed({"--room-code-file", "/r"}, nullptr)).roomCodeFile, "/r");
  for (const auto& [args, code, roomCode, message] :
       std::vector<std::tuple<std::vector<std::string>, const char*, const char*, const char*>>{
           {{}, "short", nullptr, "ORVANE_SERVER_CODE: the access code needs at least 6"},
           {{}, nullptr, "short", "ORVANE_ROOM_CODE: the access code needs at least 6"},
           {{"--code-file", "/x"}, "from-env", nullptr, "one way only"},
           {{"--room-code-file", "/r"}, nullptr, "room-env", "give the room code one way only"},
           {{"--room-code", "from-env"}, "from-env", nullptr, "must differ"},
           {{"--host", "a/b"}, nullptr, nullptr, "'a/b' is no host name"},
       }) {
    const ServerOptions::Parsed result = parsed(args, code, roomCode);
    const auto* error = std::get_if<ServerOptions::Error>(&result);
    ASSERT_NE(error, nullptr) << message;
    EXPECT_NE(error->message.find(message), std::string::npos) << error->message;
  }

  ScratchDir dir{"code-file"};
  const std::string tooLong(300, 'x');
  struct Case {
    const char* content;
    mode_t mode;
    const char* error;  // nullptr: read
  };
  const Case cases[] = {
      {"room-4711\n", 0600, nullptr},           {"room-4711\r\nsecond line\n", 0400, nullptr},
      {"room-4711\n", 0640, "chmod 600"},       {"room-4711\n", 0604, "chmod 600"},
      {"abc\n", 0600, "at least 6 characters"}, {"room 4711\n", 0600, "without blanks"},
      {"", 0600, "at least 6 characters"},      {tooLong.c_str(), 0600, "holds no access code"},
  };
  int n = 0;
  for (const Case& c : cases) {
    const std::string file = dir.file("code-" + std::to_string(n++));
    std::ofstream(file) << c.content;
    ASSERT_EQ(::chmod(file.c_str(), c.mode), 0);
    std::string code;
    const std::string error = AccessCode::readFile(file, code);
    if (!c.error) {
      EXPECT_EQ(error, "") << c.content;
      EXPECT_EQ(code, "room-4711");
    } else {
      EXPECT_NE(error.find(c.error), std::string::npos) << c.content << ": " << error;
    }
  }
  const std::string link = dir.file("link");
  std::filesystem::create_symlink(dir.file("code-0"), link);
  std::string code;
  EXPECT_NE(AccessCode::readFile(link, code), "");  // never through a link someone planted
  EXPECT_NE(AccessCode::readFile(dir.file("."), code), "");
  if (::geteuid() == 0) {  // only root can give a file away
    ASSERT_EQ(::chown(dir.file("code-0").c_str(), 65534, 65534), 0);
    EXPECT_NE(AccessCode::readFile(dir.file("code-0"), code).find("another user"), std::string::npos);
  }
}

TEST(LoginThrottle, AFewWrongCodesThenAPauseForAttemptsOnly) {
  LoginThrottle throttle;
  const auto start = LoginThrottle::Clock::now();
  for (int i = 0; i < LoginThrottle::kFreeFailures - 1; ++i)
    EXPECT_EQ(throttle.attempt("127.0.0.7", false, start).count(), 0);
  EXPECT_EQ(throttle.attempt("127.0.0.7", true, start).count(), 0);  // a right code starts counting again
  for (int i = 0; i < LoginThrottle::kFreeFailures; ++i) throttle.attempt("127.0.0.7", false, start);
  EXPECT_EQ(throttle.attempt("127.0.0.7", true, start), LoginThrottle::kPause);  // the right code waits too
  EXPECT_EQ(throttle.attempt("127.0.0.8", false, start).count(), 0);             // others go on
  EXPECT_EQ(throttle.attempt("127.0.0.7", true, start + LoginThrottle::kPause).count(), 0);

  // Parallel guesses: never more than the free ones get through.
  LoginThrottle shared;
  std::atomic<int> taken{0};
  std::vector<std::thread> guessers;
  for (int t = 0; t < 8; ++t)
    guessers.emplace_back([&] {
      for (int i = 0; i < 50; ++i)
        if (shared.attempt("127.0.0.9", false, start).count() == 0) ++taken;
    });
  for (auto& guesser : guessers) guesser.join();
  EXPECT_EQ(taken, LoginThrottle::kFreeFailures);
}

TEST(SessionTable, TokensAreRandomKeptAliveByUseBoundedAndCarryTheirLevel) {
  SessionTable sessions;
  const auto start = SessionTable::Clock::now();
  const std::string first = sessions.open(start, AccessLevel::Room);
  const std::string second = sessions.open(start, AccessLevel::Installer);
  EXPECT_EQ(first.size(), 64u);
  EXPECT_NE(first, second);
  EXPECT_EQ(sessions.use(first, start + SessionTable::kUnusedLimit), AccessLevel::Room);  // used: alive again
  EXPECT_EQ(sessions.use(first, start + 2 * SessionTable::kUnusedLimit), AccessLevel::Room);
  EXPECT_FALSE(sessions.use(second, start + SessionTable::kUnusedLimit + 1s));  // unused too long
  EXPECT_FALSE(sessions.use("", start));
  EXPECT_FALSE(sessions.use(first.substr(1), start));

  SessionTable full;
  const std::string oldest = full.open(start, AccessLevel::Installer);
  for (std::size_t i = 1; i < SessionTable::kMostSessions; ++i) full.open(start + 1s, AccessLevel::Room);
  const std::string newest = full.open(start + 2s, AccessLevel::Installer);
  EXPECT_FALSE(full.use(oldest, start + 2s));  // made room
  EXPECT_EQ(full.use(newest, start + 2s), AccessLevel::Installer);
}

TEST(ConnectionCounter, PlacesInAllAndByAddressComeBackWhenSlotsEnd) {
  ConnectionCounter counter(3, 2);
  auto a1 = counter.admit("a");
  auto a2 = counter.admit("a");
  EXPECT_TRUE(a1 && a2);
  EXPECT_FALSE(counter.admit("a"));  // two for one address
  auto b1 = counter.admit("b");
  EXPECT_TRUE(b1);
  EXPECT_FALSE(counter.admit("c"));  // three in all
  EXPECT_EQ(counter.open(), 3u);
  {
    auto moved = std::move(a1);
    EXPECT_EQ(counter.open(), 3u);  // a moved slot holds one place
  }
  EXPECT_EQ(counter.open(), 2u);
  EXPECT_TRUE(counter.admit("c"));  // given back at once
  EXPECT_EQ(counter.open(), 2u);
}

}  // namespace
}  // namespace orvane::server
