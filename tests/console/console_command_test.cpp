#include "console/console_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/number_text.h"
#include "scroll/event_fields.h"

namespace wheelright::console {
namespace {

sim::SimEvent scrollWith(std::vector<std::pair<EventField, std::int64_t>> integers,
                    std::vector<std::pair<EventField, double>> doubles = {}) {
  sim::SimEvent event = sim::SimEvent::scrollWheel();
  for (auto [id, value] : integers) event.setIntegerValue(id, value);
  for (auto [id, value] : doubles) event.setDoubleValue(id, value);
  return event;
}

// What each well-formed line asks for; every malformed one is in the bad_input transcript.
TEST(ConsoleCommandTest, LinesParseToCommands) {
  using Failure = sim::SimEventTaps::CreationFailure;
  const std::pair<std::string, Command> rows[] = {
      {"", Nothing{}}, {"   \t ", Nothing{}}, {"  #indented comment", Nothing{}},
      {"  menu  ", ShowMenu{}}, {"choose 3", Choose{std::size_t{3}}},
      {"choose   스크롤 설정 열기…  ", Choose{std::string("스크롤 설정 열기…")}},
      {"key cmd-q", KeyEquivalentPress{'q'}}, {"press 9", PressButton{9}},
      {"respond -1000", Respond{-1000}}, {"scroll", Inject{sim::SimEvent::scrollWheel()}},
      {"scroll 11=-3 93=-2.5 96=9223372036854775807",
       Inject{scrollWith({{11, -3}, {96, INT64_MAX}}, {{93, -2.5}})}},
      {"scroll 94=-0 95=1e2", Inject{scrollWith({}, {{94, -0.0}, {95, 100.0}})}},
      {"wheel -1 2", Inject{sim::SimEvent::mouseWheel(-1, 2)}}, {"trackpad 7", Inject{sim::SimEvent::trackpad(7)}},
      {"event 0xFFFFFFFF", Inject{sim::SimEvent::ofType(0xFFFFFFFFu)}}, {"event 5", Inject{sim::SimEvent::ofType(5)}},
      {"natural unset", SetNatural{std::monostate{}}}, {"natural int -2", SetNatural{std::int64_t{-2}}},
      {"natural real 0.0", SetNatural{0.0}}, {"natural string  0 or so ", SetNatural{PreferenceOther{"0 or so"}}},
      {"trust on", SetTrust{true}}, {"tap fail source", SetTapFailure{Failure::source}},
      {"tap disable user", DisableTap{sim::SimEventTaps::DisableReason::userInput}},
      {"open refuse", SetOpensURLs{false}}, {"copy running", SetAnotherCopy{true}},
      {"login status requires-approval", SetLoginStatus{LoginItemStatus::requiresApproval}},
      {"login fail 작업을 완료할 수 없습니다. (1)", FailLoginChange{"작업을 완료할 수 없습니다. (1)"}},
      {"wait .5", Wait{0.5}}, {"relaunch", Relaunch{}}, {"defaults", ShowDefaults{}},
      {"quit", Quit{}}, {" exit ", Quit{}},
  };
  for (const auto& [line, command] : rows) {
    EXPECT_EQ(parseCommand(line), (std::variant<Command, ParseError>(command))) << line;
  }
}

TEST(ConsoleCommandTest, NumbersReadStrictlyAndPrintShortest) {
  struct Row {
    double value;
    const char* text;
  };
  const std::vector<Row> rows = {
      {3, "3"},          {-3, "-3"},        {2.5, "2.5"},        {-0.0, "-0"},
      {0.1, "0.1"},      {1e21, "1e+21"},   {1.0 / 3, "0.3333333333333333"},
      {-30, "-30"},      {120, "120"},      {1e-7, "1e-07"},     {0.001, "0.001"},
      {123456789012345680, "123456789012345680"}, {1e15, "1e+15"}, {5e-324, "5e-324"},
      {1.7976931348623157e308, "1.7976931348623157e+308"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(shortestText(row.value), row.text);
    EXPECT_EQ(parseDecimal(row.text), row.value) << row.text;
  }
  EXPECT_EQ(parseInteger("+5"), 5);
  EXPECT_FALSE(parseInteger("+-5"));
  EXPECT_FALSE(parseInteger("5 "));
  EXPECT_FALSE(parseDecimal("."));
  EXPECT_FALSE(parseDecimal("1e"));
  EXPECT_FALSE(parseDecimal("nan"));
}

// help and parsing come from one table: every command that help lists is parsed, and a usage
// error shows that command's own forms.
TEST(ConsoleCommand, EveryCommandThatHelpListsIsParsed) {
  for (const std::string& usage : commandUsages()) {
    const std::string name = usage.substr(0, usage.find(' '));
    for (const std::string& line : {name, name + " ? ?"}) {
      const auto parsed = parseCommand(line);
      const auto* error = std::get_if<ParseError>(&parsed);
      if (error == nullptr) continue;
      EXPECT_FALSE(error->message.starts_with("unknown command")) << line;
      if (error->message.starts_with("usage: ")) {
        EXPECT_NE(error->message.find(usage), std::string::npos) << line;
      }
    }
  }
}

}  // namespace
}  // namespace wheelright::console
