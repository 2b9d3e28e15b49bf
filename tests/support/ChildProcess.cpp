#include "support/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

extern char** environ;

namespace orvane {

namespace {

using Clock = std::chrono::steady_clock;

void closeFd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args,
                           const std::vector<std::string>& environment) {
  // A child that ended early must not take the test down with its input.
  ::signal(SIGPIPE, SIG_IGN);
  int in[2], out[2], err[2];
  if (::pipe2(in, O_CLOEXEC) || ::pipe2(out, O_CLOEXEC) || ::pipe2(err, O_CLOEXEC)) return;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err[1], 2);
  std::vector<std::string> words{program};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  std::vector<std::string> env = environment;
  for (char** e = environ; *e; ++e) env.emplace_back(*e);
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
  posix_spawn_file_actions_destroy(&actions);
  ::close(in[0]);
  ::close(out[1]);
  ::close(err[1]);
  in_ = in[1];
  out_ = out[0];
  err_ = err[0];
}

ChildProcess::~ChildProcess() {
  terminate();
  closeFd(in_);
  closeFd(out_);
  closeFd(err_);
}

bool ChildProcess::pump(std::chrono::milliseconds timeout) {
  std::vector<pollfd> fds;
  for (int fd : {out_, err_})
    if (fd >= 0) fds.push_back({fd, POLLIN, 0});
  if (fds.empty()) return false;
  if (::poll(fds.data(), fds.size(), static_cast<int>(timeout.count())) <= 0) return true;
  for (const pollfd& p : fds) {
    if (!(p.revents & (POLLIN | POLLHUP | POLLERR))) continue;
    char buffer[4096];
    const ssize_t n = ::read(p.fd, buffer, sizeof buffer);
    std::string& into = p.fd == out_ ? outBuffer_ : errBuffer_;
    if (n > 0)
      into.append(buffer, static_cast<std::size_t>(n));
    else
      closeFd(p.fd == out_ ? out_ : err_);
  }
  return out_ >= 0 || err_ >= 0;
}

std::optional<std::string> ChildProcess::readLine(std::chrono::milliseconds timeout, Stream from) {
  const auto deadline = Clock::now() + timeout;
  std::string& buffer = from == Stream::Out ? outBuffer_ : errBuffer_;
  while (true) {
    if (const auto end = buffer.find('\n'); end != std::string::npos) {
      std::string line = buffer.substr(0, end);
      buffer.erase(0, end + 1);
      return line;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0 || !pump(left)) return std::nullopt;
  }
}

void ChildProcess::finishInput(const std::string& text) {
  for (std::size_t done = 0; in_ >= 0 && done < text.size();) {
    const ssize_t n = ::write(in_, text.data() + done, text.size() - done);
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  closeFd(in_);
}

ChildProcess::Result ChildProcess::finish(std::chrono::milliseconds timeout) {
  closeFd(in_);
  const auto deadline = Clock::now() + timeout;
  while (Clock::now() < deadline && pump(std::chrono::milliseconds(100))) {
  }
  Result result;
  int status = 0;
  while (pid_ > 0 && Clock::now() < deadline) {
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      break;
    }
    ::usleep(1000);
  }
  result.out = std::move(outBuffer_);
  result.err = std::move(errBuffer_);
  return result;
}

void ChildProcess::interrupt() {
  if (pid_ > 0) ::kill(pid_, SIGINT);
}

void ChildProcess::terminate() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGTERM);
  for (int i = 0; i < 5000 && ::waitpid(pid_, nullptr, WNOHANG) != pid_; ++i) ::usleep(1000);
  if (::waitpid(pid_, nullptr, WNOHANG) == 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  pid_ = -1;
}

void ChildProcess::kill() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGKILL);
  ::waitpid(pid_, nullptr, 0);
  pid_ = -1;
}

ChildProcess::Result ChildProcess::run(const std::string& program, const std::vector<std::string>& args,
                                       const std::string& input, const std::vector<std::string>& environment,
                                       std::chrono::milliseconds timeout) {
  ChildProcess child(program, args, environment);
  child.finishInput(input);
  return child.finish(timeout);
}

}  // namespace orvane
