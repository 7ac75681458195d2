#include "platform/sim/console_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/number_text.h"
#include "scroll/event_fields.h"

namespace wheelright::sim::console {
namespace {

SimEvent scrollWith(std::vector<std::pair<EventField, std::int64_t>> integers,
                    std::vector<std::pair<EventField, double>> doubles = {}) {
  SimEvent event = SimEvent::scrollWheel();
  for (auto [id, value] : integers) event.setIntegerValue(id, value);
  for (auto [id, value] : doubles) event.setDoubleValue(id, value);
  return event;
}

TEST(ConsoleCommandTest, LinesParseToCommandsOrToOneError) {
  using Parsed = std::variant<Command, ParseError>;
  const auto error = [](std::string message) -> Parsed { return ParseError{std::move(message)}; };
  struct Row {
    std::string line;
    Parsed expected;
  };
  const std::vector<Row> rows = {
      {"", Nothing{}},
      {"   \t ", Nothing{}},
      {"# a comment", Nothing{}},
      {"  #indented comment", Nothing{}},
      {"menu", ShowMenu{}},
      {"  menu  ", ShowMenu{}},
      {"menu now", error("usage: menu")},
      {"Menu", error("unknown command \"Menu\"; help lists the commands")},
      {"choose 3", Choose{std::size_t{3}}},
      {"choose 0", error("menu entries count from 1")},
      {"choose Wheelright 활성화", Choose{std::string("Wheelright 활성화")}},
      {"choose   스크롤 설정 열기…  ", Choose{std::string("스크롤 설정 열기…")}},
      {"choose", error("usage: choose <n> | choose <label>")},
      {"key cmd-q", KeyEquivalentPress{'q'}},
      {"key q", error("usage: key cmd-<key>")},
      {"key cmd-", error("usage: key cmd-<key>")},
      {"press 1", PressButton{1}},
      {"press 9", PressButton{9}},
      {"press 0", error("buttons count from 1")},
      {"press -1", error("buttons count from 1")},
      {"press one", error("\"one\" is not a whole number")},
      {"press 1 2", error("usage: press <n>")},
      {"respond -1000", Respond{-1000}},
      {"respond", error("usage: respond <code>")},
      {"scroll", Inject{SimEvent::scrollWheel()}},
      {"scroll 11=-3 93=-2.5 96=9223372036854775807",
       Inject{scrollWith({{11, -3}, {96, INT64_MAX}}, {{93, -2.5}})}},
      {"scroll 94=-0", Inject{scrollWith({}, {{94, -0.0}})}},
      {"scroll 95=1e2", Inject{scrollWith({}, {{95, 100.0}})}},
      {"scroll 5=1", error("unknown field 5; the fields are 88 99 123 11 12 13 93 94 95 96 97 98")},
      {"scroll -11=1",
       error("unknown field -11; the fields are 88 99 123 11 12 13 93 94 95 96 97 98")},
      {"scroll 11=2.5", error("field 11 takes a whole number, not \"2.5\"")},
      {"scroll 11=9223372036854775808",
       error("field 11 takes a whole number, not \"9223372036854775808\"")},
      {"scroll 93=0x10", error("field 93 takes a decimal number, not \"0x10\"")},
      {"scroll 93=inf", error("field 93 takes a decimal number, not \"inf\"")},
      {"scroll 93=1e999", error("field 93 takes a decimal number, not \"1e999\"")},
      {"scroll 11=1 11=2", error("field 11 is given twice")},
      {"scroll 11", error("\"11\" is not <field>=<value>")},
      {"scroll 11=", error("\"11=\" is not <field>=<value>")},
      {"wheel 3", Inject{SimEvent::mouseWheel(3)}},
      {"wheel -1 2", Inject{SimEvent::mouseWheel(-1, 2)}},
      {"wheel", error("usage: wheel <lines> [<horizontal lines>]")},
      {"wheel 1 2 3", error("usage: wheel <lines> [<horizontal lines>]")},
      {"wheel 922337203685477581",
       error("wheel takes lines from -922337203685477580 to 922337203685477580")},
      {"trackpad 7", Inject{SimEvent::trackpad(7)}},
      {"trackpad 7.5", error("\"7.5\" is not a whole number")},
      {"event 5", Inject{SimEvent::ofType(5)}},
      {"event 0xFFFFFFFF", Inject{SimEvent::ofType(0xFFFFFFFFu)}},
      {"event 4294967296", error("event type \"4294967296\" is not a number from 0 to 0xFFFFFFFF")},
      {"event 0x", error("event type \"0x\" is not a number from 0 to 0xFFFFFFFF")},
      {"natural on", SetNatural{true}},
      {"natural off", SetNatural{false}},
      {"natural unset", SetNatural{std::monostate{}}},
      {"natural int -2", SetNatural{std::int64_t{-2}}},
      {"natural real 0.0", SetNatural{0.0}},
      {"natural string  0 or so ", SetNatural{PreferenceOther{"0 or so"}}},
      {"natural maybe", error("usage: natural on|off|unset | natural int <n> | natural real <x> | "
                              "natural string <s>")},
      {"natural int", error("usage: natural on|off|unset | natural int <n> | natural real <x> | "
                            "natural string <s>")},
      {"trust on", SetTrust{true}},
      {"trust yes", error("usage: trust on|off")},
      {"tap fail create", SetTapFailure{SimEventTaps::CreationFailure::tap}},
      {"tap fail source", SetTapFailure{SimEventTaps::CreationFailure::source}},
      {"tap fail none", SetTapFailure{SimEventTaps::CreationFailure::none}},
      {"tap disable user", DisableTap{SimEventTaps::DisableReason::userInput}},
      {"tap disable",
       error("usage: tap fail create|source|none | tap disable timeout|user|silent")},
      {"open refuse", SetOpensURLs{false}},
      {"login status requires-approval", SetLoginStatus{LoginItemStatus::requiresApproval}},
      {"login status on", error("usage: login status enabled|not-registered|requires-approval|"
                                "not-found | login fail <text>")},
      {"login fail 작업을 완료할 수 없습니다. (1)",
       FailLoginChange{"작업을 완료할 수 없습니다. (1)"}},
      {"login fail", error("usage: login status enabled|not-registered|requires-approval|"
                           "not-found | login fail <text>")},
      {"wait 1.5", Wait{1.5}},
      {"wait .5", Wait{0.5}},
      {"wait 0", Wait{0}},
      {"wait -1", error("wait takes seconds >= 0")},
      {"wait 86401", error("wait takes at most 86400 seconds at once")},
      {"wait soon", error("\"soon\" is not a decimal number")},
      {"wait 1 2", error("usage: wait <seconds>")},
      {"relaunch", Relaunch{}},
      {"state", ShowState{}},
      {"defaults", ShowDefaults{}},
      {"help", Help{}},
      {"help me", error("usage: help")},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(parseCommand(row.line), row.expected) << row.line;
  }
}

TEST(ConsoleCommandTest, NumbersReadStrictlyAndPrintShortest) {
  struct Row {
    double value;
    const char* text;
  };
  const std::vector<Row> rows = {
      {3, "3"},
      {-3, "-3"},
      {2.5, "2.5"},
      {-0.0, "-0"},
      {0.1, "0.1"},
      {1e21, "1e+21"},
      {1.0 / 3, "0.3333333333333333"},
      {-30, "-30"},
      {120, "120"},
      {1e-7, "1e-07"},
      {0.001, "0.001"},
      {123456789012345680, "123456789012345680"},
      {1e15, "1e+15"},
      {5e-324, "5e-324"},
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

}  // namespace
}  // namespace wheelright::sim::console
