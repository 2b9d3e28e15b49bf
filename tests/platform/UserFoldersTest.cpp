#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/UserFolders.h"

namespace orvane {
namespace {

// Sets or removes an environment variable for the life of the object.
class EnvironmentValue {
 public:
  EnvironmentValue(const char* name, const char* value) : name_(name) {
    if (const char* now = std::getenv(name)) saved_ = now;
    set(value);
  }
  ~EnvironmentValue() { set(saved_ ? saved_->c_str() : nullptr); }
  EnvironmentValue(const EnvironmentValue&) = delete;
  EnvironmentValue& operator=(const EnvironmentValue&) = delete;

 private:
  void set(const char* value) {
    if (value)
      ::setenv(name_, value, 1);
    else
      ::unsetenv(name_);
  }
  const char* name_;
  std::optional<std::string> saved_;
};

// The user's folders follow the XDG variables, and the home folder when
// they are not set; a relative state folder is not taken, and without a
// home the settings go to the current folder and nothing is kept.
TEST(UserFoldersTest, TheXdgFoldersWinOverTheHomeFolder) {
  const struct {
    const char* config;
    const char* state;
    const char* home;
    std::string expectedConfig;
    std::optional<std::string> expectedState;
  } cases[] = {
      {"/c", "/s", "/h", "/c", "/s"},
      {nullptr, nullptr, "/h", "/h/.config", "/h/.local/state"},
      {"", "relative", "/h", "/h/.config", "/h/.local/state"},
      {nullptr, "", "/h", "/h/.config", "/h/.local/state"},
      {"/c", "", "", "/c", std::nullopt},
      {nullptr, "/s", nullptr, "./.config", "/s"},
      {nullptr, nullptr, nullptr, "./.config", std::nullopt},
  };
  for (const auto& c : cases) {
    const EnvironmentValue config("XDG_CONFIG_HOME", c.config), state("XDG_STATE_HOME", c.state),
        home("HOME", c.home);
    EXPECT_EQ(UserFolders::config(), c.expectedConfig) << c.expectedConfig;
    const auto folder = UserFolders::state();
    EXPECT_EQ(folder ? std::optional(folder->string()) : std::nullopt, c.expectedState) << c.expectedConfig;
  }
}

}  // namespace
}  // namespace orvane
