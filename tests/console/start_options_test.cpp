#include "console/start_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace wheelright::console {
namespace {

using Args = std::vector<std::string_view>;
using Failure = sim::SimEventTaps::CreationFailure;

TEST(StartOptionsTest, GoodCommandLines) {
  const auto run = [](bool echo, std::vector<Command> desktop, std::string language = "ko") {
    return StartOptions{StartOptions::Action::run, echo, std::move(language), std::move(desktop)};
  };
  const std::pair<Args, StartOptions> rows[] = {
      {{}, run(false, {})},
      {{"--desktop=natural=unset,copy=running", "--echo"},
       run(true, {SetNatural{std::monostate{}}, SetAnotherCopy{true}})},
      {{"--desktop", "tap=fail-create,login=not-found"},
       run(false, {SetTapFailure{Failure::tap}, SetLoginStatus{LoginItemStatus::notFound}})},
      {{"--desktop", "trust=on,language=pt-BR"}, run(false, {SetTrust{true}}, "pt-BR")},
      {{"--desktop=language=zh_Hant_TW"}, run(false, {}, "zh_Hant_TW")},
      {{"--help"}, {StartOptions::Action::showHelp, false, "ko", {}}},
      {{"--echo", "--version"}, {StartOptions::Action::showVersion, true, "ko", {}}},
  };
  for (const auto& [args, options] : rows) EXPECT_EQ(parseStartOptions(args), options);
}

// Each is refused before anything starts, with the line standard error shows.
TEST(StartOptionsTest, BadCommandLines) {
  const std::string settings =
      "; the settings are trust, natural, login, open, tap, copy, update, language";
  const std::string code = " is not language=<code>, a code such as en or pt-BR";
  const std::pair<Args, std::string> rows[] = {
      {{"--desktop"}, "--desktop: needs <setting>,..."},
      {{"--desktop=natural=on", "--desktop", "natural=off"}, "--desktop: natural is given twice"},
      {{"--desktop", "trust"}, "--desktop: unknown setting \"trust\"" + settings},
      {{"--desktop", "trust=on,"}, "--desktop: unknown setting \"\"" + settings},
      {{"--desktop", "natural=int"}, "--desktop: \"natural=int\" is not natural=on|off|unset"},
      {{"--desktop", "copy=running ,open=refuse"},
       "--desktop: \"copy=running \" is not copy=running|none"},
      // The code names a folder of tables: nothing but letters, digits and single separators.
      {{"--desktop", "language=../en"}, "--desktop: \"language=../en\"" + code},
      {{"--desktop", "language=e"}, "--desktop: \"language=e\"" + code},
      {{"--desktop", "language=en--US"}, "--desktop: \"language=en--US\"" + code},
      {{"--desktop", "language="}, "--desktop: \"language=\"" + code},
      {{"--desktop", "language=en,language=ko"}, "--desktop: language is given twice"},
  };
  for (const auto& [args, message] : rows) {
    EXPECT_EQ(parseStartOptions(args), Error{"wheelright: " + message});
  }
}

}  // namespace
}  // namespace wheelright::console
