#pragma once

// A program run by a test: started with arguments (and extra environment
// variables), fed on standard input, its output collected. Killed when the
// test lets go of it while it still runs.

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace orvane {

class ChildProcess {
 public:
  struct Result {
    int status = -1;  // exit status; -1 when it did not end by itself
    std::string out;
    std::string err;
  };

  ChildProcess(const std::string& program, const std::vector<std::string>& args,
               const std::vector<std::string>& environment = {});
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return pid_ > 0; }
  pid_t pid() const { return pid_; }
  enum class Stream { Out, Err };
  // The next line of standard output (or error), or nothing when none came
  // in time.
  std::optional<std::string> readLine(std::chrono::milliseconds timeout, Stream from = Stream::Out);
  // Writes `text` to standard input and closes it.
  void finishInput(const std::string& text);
  // Waits until it ends and takes the rest of its output.
  Result finish(std::chrono::milliseconds timeout);
  void terminate();
  // Ends it at once with SIGKILL, as a crash would: it saves nothing.
  void kill();
  // Sends SIGINT, as Ctrl+C in a terminal does.
  void interrupt();

  // Runs `program` to its end.
  static Result run(const std::string& program, const std::vector<std::string>& args,
                    const std::string& input = {}, const std::vector<std::string>& environment = {},
                    std::chrono::milliseconds timeout = std::chrono::seconds(120));

 private:
  // Reads what is there from both pipes for at most `timeout`; false once
  // both ended.
  bool pump(std::chrono::milliseconds timeout);

  pid_t pid_ = -1;
  int in_ = -1;
  int out_ = -1;
  int err_ = -1;
  std::string outBuffer_;
  std::string errBuffer_;
};

}  // namespace orvane
