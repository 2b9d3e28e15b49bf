#pragma once

// One thread that runs the requests needing the device, one after the
// other, so that the connections never wait for it. At most a bounded
// number wait; more are refused at once.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace orvane::server {

class WorkQueue {
 public:
  explicit WorkQueue(std::size_t mostWaiting);
  ~WorkQueue();
  WorkQueue(const WorkQueue&) = delete;
  WorkQueue& operator=(const WorkQueue&) = delete;

  // False when too much is waiting, or the queue stopped.
  bool post(std::function<void()> work);
  // Lets the work that runs finish, drops what waits and ends the thread.
  void stop();

 private:
  void run();

  const std::size_t mostWaiting_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::function<void()>> waiting_;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace orvane::server
