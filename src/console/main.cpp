// The wheelright console: the application over a new simulated desktop. A terminal gets the real
// clock, and line editing when output goes to a terminal too; piped input gets the virtual
// clock, so a transcript is the same every run.

#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "console/console.h"
#include "console/line_editor.h"
#include "console/start_options.h"

namespace {

// --help and --version: the exit status, not 0 when the lines could not be written.
int printLines(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) std::cout << line << '\n';
  std::cout.flush();
  if (std::cout) return 0;
  std::cerr << wheelright::console::outputFailureText(errno) << '\n';
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace wheelright::console;
  using namespace wheelright::sim;
  // Written to a closed pipe, the program ends as every filter does, even when the parent
  // started it with the signal ignored.
  std::signal(SIGPIPE, SIG_DFL);

  const wheelright::Result<StartOptions> parsed =
      parseStartOptions(std::vector<std::string_view>(argv + 1, argv + argc));
  if (!parsed) {
    std::cerr << parsed.error() << '\n';
    return 2;
  }
  const StartOptions& start = parsed.value();
  if (start.action == StartOptions::Action::showHelp) {
    return printLines(helpLines());
  }
  if (start.action == StartOptions::Action::showVersion) {
    return printLines({"wheelright " WHEELRIGHT_VERSION});
  }

  const bool isTerminal = ::isatty(STDIN_FILENO) != 0;
  const bool isPersonAtTerminal = isTerminal && ::isatty(STDOUT_FILENO) != 0;

  SimDesktop::Options options;
  options.clock = isTerminal ? SimRunLoop::Clock::real : SimRunLoop::Clock::manual;
  if (auto directory = FileUserDefaults::standardDirectory(); !directory.empty()) {
    options.defaultsDirectory = std::move(directory);
  } else {
    std::cerr << "wheelright: settings kept in memory for this run: no home directory "
                 "(neither HOME nor an absolute XDG_CONFIG_HOME is set)\n";
  }
  options.preferredLanguage = start.language;
  options.tellSettingsFallback = [](const std::string& line) {
    std::cerr << "wheelright: " << line << '\n';
  };
  wheelright::Result<std::shared_ptr<SimDesktop>> created = SimDesktop::create(options);
  if (!created) {
    std::cerr << "wheelright: cannot show the texts: " << created.error() << '\n';
    return 2;
  }
  const std::shared_ptr<SimDesktop> desktop = std::move(created.value());
  desktop->log().setKeepsHistory(false);

  std::unique_ptr<ConsoleInput> input;
  if (isPersonAtTerminal) input = makeLineEditorInput();
  if (!input && isTerminal) {
    input =
        std::make_unique<TerminalInput>(STDIN_FILENO, isPersonAtTerminal ? &std::cout : nullptr);
  }
  if (!input) input = std::make_unique<StreamInput>(std::cin);

  Console console(desktop, *input, std::cout,
                  {.echoesInput = start.echoesInput, .desktop = start.desktop});
  const int status = console.run();
  if (!console.outputFailure().empty()) std::cerr << console.outputFailure() << '\n';
  return status;
}
