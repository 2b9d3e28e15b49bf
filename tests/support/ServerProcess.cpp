#include "support/ServerProcess.h"

#include <thread>

namespace orvane {

namespace {

std::vector<std::string> arguments(const std::string& link, std::vector<std::string> extra) {
  extra.insert(extra.begin(), {"--connect", link, "--listen", "127.0.0.1:0", "--code", ServerProcess::kCode});
  return extra;
}

}  // namespace

ServerProcess::ServerProcess(const std::string& link, std::vector<std::string> extra)
    : process_(ORVANE_SERVER_PATH, arguments(link, std::move(extra)), {"HOME=/nonexistent"}) {
  const auto line = process_.readLine(std::chrono::seconds(10));
  const std::string address = "127.0.0.1:";
  if (line && line->find("http://" + address) != std::string::npos)
    port_ = std::stoi(line->substr(line->find(address) + address.size()));
}

HttpClient ServerProcess::client(const char* code, const std::string& from) const {
  HttpClient client(port_, from);
  if (code) client.setHeader("X-Orvane-Code", code);
  return client;
}

bool ServerProcess::linked() const {
  HttpClient status = client();
  for (int i = 0; i < 200; ++i) {
    if (status.get("/api/status").json().value("link", "") == "open") return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

}  // namespace orvane
