// The wheelright console: the application over a new simulated desktop. A terminal gets the real
// clock and a prompt; piped input gets the virtual clock, so a transcript is the same every run.

#include <unistd.h>

#include <iostream>
#include <memory>

#include "console/console.h"

int main() {
  using namespace wheelright::sim;
  const bool isTerminal = ::isatty(STDIN_FILENO) != 0;

  SimDesktop::Options options;
  options.clock = isTerminal ? SimRunLoop::Clock::real : SimRunLoop::Clock::manual;
  if (auto directory = FileUserDefaults::standardDirectory(); !directory.empty()) {
    options.defaultsDirectory = std::move(directory);
  }
  auto desktop = SimDesktop::create(options);
  desktop->log().setKeepsHistory(false);

  if (isTerminal) {
    TerminalInput input(STDIN_FILENO, std::cout);
    return Console(desktop, input, std::cout).run();
  }
  StreamInput input(std::cin);
  return Console(desktop, input, std::cout).run();
}
