#pragma once
// The command line of the wheelright program: what it does and the desktop it starts on.

#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "console/console_command.h"

namespace wheelright::console {

struct StartOptions {
  enum class Action { run, showHelp, showVersion };
  Action action = Action::run;
  bool echoesInput = false;
  // The user's preferred language, which chooses the texts' table.
  std::string language = "ko";
  // Operating-system commands played on the new desktop before the application starts.
  std::vector<Command> desktop;
  friend bool operator==(const StartOptions&, const StartOptions&) = default;
};

// The arguments after the program's name; a failure is one line for standard error.
Result<StartOptions> parseStartOptions(const std::vector<std::string_view>& args);

// Arguments that parseStartOptions reads back as these options.
std::vector<std::string> startOptionArguments(const StartOptions& options);

// The --help text, a line each: the usage, the start options, the commands.
std::vector<std::string> helpLines();
// The start options as the help command lists them, a line each.
const std::vector<std::string>& startOptionUsages();

}  // namespace wheelright::console
