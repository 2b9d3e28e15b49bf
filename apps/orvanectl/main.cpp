// orvanectl: command-line control and scripting of the KVS7304 audio matrix
// processor, on the editor's core.

#include <cstdlib>
#include <iostream>

#include "cli/Application.h"

int main(int argc, char** argv) {
  return orvane::cli::Application::run(std::vector<std::string>(argv + 1, argv + argc),
                                       {std::getenv("ORVANE_CONNECT"), std::getenv("ORVANE_SERVER_CODE")},
                                       std::cin, std::cout, std::cerr);
}
