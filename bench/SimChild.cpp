#include "SimChild.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string_view>

extern char** environ;

namespace orvane {

SimChild::SimChild(const std::vector<std::string>& options) {
  std::vector<std::string> args{ORVANE_SIM_PATH, "--listen", "127.0.0.1:0"};
  args.insert(args.end(), options.begin(), options.end());
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);

  int out[2];
  if (::pipe(out) != 0) return;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  const int spawned = ::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  if (spawned != 0) {
    pid_ = -1;
    ::close(out[0]);
    return;
  }
  // The first line names the address served: "orvane-sim: network 127.0.0.1:PORT".
  FILE* lines = ::fdopen(out[0], "r");
  char line[256];
  if (std::fgets(line, sizeof line, lines)) {
    const std::string_view text(line);
    if (const auto colon = text.rfind(':'); colon != std::string_view::npos)
      port_ = std::atoi(line + colon + 1);
  }
  std::fclose(lines);
}

SimChild::~SimChild() {
  if (pid_ < 0) return;
  ::kill(pid_, SIGTERM);
  ::waitpid(pid_, nullptr, 0);
}

}  // namespace orvane
