#include "console/console_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/number_text.h"
#include "scroll/event_fields.h"

namespace wheelright::console {
namespace {

sim::SimEvent scrollWith(const std::vector<std::pair<EventField, std::int64_t>>& integers,
                         const std::vector<std::pair<EventField, double>>& doubles = {}) {
  sim::SimEvent event = sim::SimEvent::scrollWheel();
  for (auto [id, value] : integers) event.setIntegerValue(id, value);
  for (auto [id, value] : doubles) event.setDoubleValue(id, value);
  return event;
}

// What each well-formed line asks for, in the forms that no transcript plays; every malformed
// one is in the bad_input transcript.
TEST(ConsoleCommandTest, LinesParseToCommands) {
  const std::pair<std::string, Command> rows[] = {
      {"", Nothing{}}, {"   \t ", Nothing{}}, {"  #indented comment", Nothing{}},
      {"  menu  ", ShowMenu{}}, {"choose   스크롤 설정 열기…  ", Choose{std::string("스크롤 설정 열기…")}},
      {"respond -1000", Respond{-1000}}, {"scroll", Inject{sim::SimEvent::scrollWheel()}},
      {"scroll 11=-3 93=-2.5 96=9223372036854775807",
       Inject{scrollWith({{11, -3}, {96, INT64_MAX}}, {{93, -2.5}})}},
      {"scroll 94=-0 95=1e2", Inject{scrollWith({}, {{94, -0.0}, {95, 100.0}})}},
      {"wheel -1 2", Inject{sim::SimEvent::mouseWheel(-1, 2)}},
      {"event 0xFFFFFFFF", Inject{sim::SimEvent::ofType(0xFFFFFFFFu)}},
      {"natural int -2", SetNatural{std::int64_t{-2}}},
      {"natural string  0 or so ", SetNatural{PreferenceOther{"0 or so"}}},
      {"tap disable user", DisableTap{sim::SimEventTaps::DisableReason::userInput}},
      {"login fail 작업을 완료할 수 없습니다. (1)", FailLoginChange{"작업을 완료할 수 없습니다. (1)"}},
      {"wait .5", Wait{0.5}}, {" exit ", Quit{}},
  };
  for (const auto& [line, command] : rows) EXPECT_EQ(parseCommand(line), command) << line;
}

TEST(ConsoleCommandTest, NumbersReadStrictlyAndPrintShortest) {
  const std::pair<double, const char*> rows[] = {
      {-0.0, "-0"}, {0.1, "0.1"}, {1e21, "1e+21"}, {1.0 / 3, "0.3333333333333333"},
      {1e-7, "1e-07"}, {0.001, "0.001"}, {123456789012345680, "123456789012345680"},
      {1e15, "1e+15"}, {5e-324, "5e-324"},
      {1.7976931348623157e308, "1.7976931348623157e+308"},
  };
  for (const auto& [value, text] : rows) {
    EXPECT_EQ(shortestText(value), text);
    EXPECT_EQ(parseDecimal(text), value) << text;
  }
  EXPECT_EQ(parseInteger("+5"), 5);
  EXPECT_FALSE(parseInteger("+-5"));
  EXPECT_FALSE(parseInteger("5 "));
  EXPECT_FALSE(parseDecimal("."));
  EXPECT_FALSE(parseDecimal("1e"));
  EXPECT_FALSE(parseDecimal("nan"));
}

// help and parsing come from one table: every command that help lists is parsed, and a usage
// error shows the forms that its help line gives.
TEST(ConsoleCommandTest, EveryCommandThatHelpListsIsParsed) {
  for (const std::string& usage : commandUsages()) {
    const std::string name = usage.substr(0, usage.find(' '));
    const std::string forms = usage.substr(0, usage.find("  "));
    EXPECT_LT(forms.size(), usage.size()) << "says what " << name << " does";
    for (const std::string& line : {name, name + " ? ?"}) {
      const Result<Command> parsed = parseCommand(line);
      if (parsed) continue;
      EXPECT_FALSE(parsed.error().starts_with("unknown command")) << line;
      if (parsed.error().starts_with("usage: ")) {
        EXPECT_EQ(parsed.error(), "usage: " + forms);
      }
    }
  }
}

}  // namespace
}  // namespace wheelright::console
