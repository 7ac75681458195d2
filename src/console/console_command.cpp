#include "console/console_command.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <optional>
#include <utility>

#include "console/number_text.h"
#include "platform/event_tap_services.h"

namespace wheelright::console {
namespace {

// The fields a scroll command may name, and which of them hold decimals.
constexpr EventField integerFields[] = {
    field::isContinuous,    field::scrollPhase,     field::momentumPhase,
    field::deltaAxis1,      field::deltaAxis2,      field::deltaAxis3,
    field::pointDeltaAxis1, field::pointDeltaAxis2, field::pointDeltaAxis3};
constexpr EventField decimalFields[] = {field::fixedPtDeltaAxis1, field::fixedPtDeltaAxis2,
                                        field::fixedPtDeltaAxis3};

using Parsed = Result<Command>;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The words of a line, and the text after the first n of them as typed (for labels and texts).
class Words {
 public:
  explicit Words(std::string_view line) : line_(line) {
    std::size_t i = 0;
    while (i < line.size()) {
      while (i < line.size() && isBlank(line[i])) ++i;
      const std::size_t start = i;
      while (i < line.size() && !isBlank(line[i])) ++i;
      if (i > start) words_.push_back({line.substr(start, i - start), start});
    }
  }
  std::size_t size() const { return words_.size(); }
  std::string_view operator[](std::size_t n) const { return words_[n].text; }
  std::string_view restAfter(std::size_t n) const {
    return n < words_.size() ? trimmed(line_.substr(words_[n].offset)) : std::string_view{};
  }

 private:
  struct Word {
    std::string_view text;
    std::size_t offset;
  };
  std::string_view line_;
  std::vector<Word> words_;
};

// The message pieces in order. Appending, rather than literal + std::string, also keeps GCC 12's
// optimizer from a false -Wrestrict alarm.
Error failure(std::initializer_list<std::string_view> pieces) {
  Error error;
  for (std::string_view piece : pieces) error.text.append(piece);
  return error;
}

// "usage: " and the command's forms, from the table of commands below.
Error usageError(std::string_view command);

Error notADecimalNumber(std::string_view text) {
  return failure({"\"", text, "\" is not a decimal number"});
}

Error notAWholeNumber(std::string_view text) {
  return failure({"\"", text, "\" is not a whole number"});
}

Parsed parseCount(std::string_view text, const char* what, Command (*make)(std::size_t)) {
  const std::optional<std::int64_t> n = parseInteger(text);
  if (!n) return notAWholeNumber(text);
  if (*n < 1) return failure({what, " count from 1"});
  return make(static_cast<std::size_t>(*n));
}

Parsed parseScroll(const Words& words) {
  sim::SimEvent event = sim::SimEvent::scrollWheel();
  std::vector<std::int64_t> named;
  for (std::size_t i = 1; i < words.size(); ++i) {
    const std::string_view pair = words[i];
    const std::size_t equals = pair.find('=');
    if (equals == std::string_view::npos || equals == 0 || equals + 1 == pair.size()) {
      return failure({"\"", pair, "\" is not <field>=<value>"});
    }
    const std::string_view name = pair.substr(0, equals);
    const std::string_view value = pair.substr(equals + 1);
    const std::optional<std::int64_t> id = parseInteger(name);
    const auto isIn = [&id](const auto& fields) {
      return std::find(std::begin(fields), std::end(fields), static_cast<EventField>(*id)) !=
             std::end(fields);
    };
    const bool isInteger = id && *id >= 0 && isIn(integerFields);
    const bool isDecimal = id && *id >= 0 && isIn(decimalFields);
    if (!isInteger && !isDecimal) {
      return failure(
          {"unknown field ", name, "; the fields are 88 99 123 11 12 13 93 94 95 96 97 98"});
    }
    if (std::find(named.begin(), named.end(), *id) != named.end()) {
      return failure({"field ", name, " is given twice"});
    }
    named.push_back(*id);
    const auto fieldId = static_cast<EventField>(*id);
    if (isInteger) {
      const std::optional<std::int64_t> number = parseInteger(value);
      if (!number) {
        return failure({"field ", name, " takes a whole number, not \"", value, "\""});
      }
      event.setIntegerValue(fieldId, *number);
    } else {
      const std::optional<double> number = parseDecimal(value);
      if (!number) {
        return failure({"field ", name, " takes a decimal number, not \"", value, "\""});
      }
      event.setDoubleValue(fieldId, *number);
    }
  }
  return Inject{event};
}

Parsed parseWheel(const Words& words) {
  if (words.size() < 2 || words.size() > 3) return usageError("wheel");
  std::int64_t lines[2] = {0, 0};
  for (std::size_t i = 1; i < words.size(); ++i) {
    const std::optional<std::int64_t> n = parseInteger(words[i]);
    if (!n) return notAWholeNumber(words[i]);
    // The point delta is ten times the lines and must fit as well.
    constexpr std::int64_t limit = std::numeric_limits<std::int64_t>::max() / 10;
    if (*n > limit || *n < -limit) {
      return Error{"wheel takes lines from " + std::to_string(-limit) + " to " +
                   std::to_string(limit)};
    }
    lines[i - 1] = *n;
  }
  return Inject{sim::SimEvent::mouseWheel(lines[0], lines[1])};
}

Parsed parseEventType(const Words& words) {
  if (words.size() != 2) return usageError("event");
  const std::string_view text = words[1];
  std::optional<std::int64_t> type;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    std::uint64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data() + 2, end, value, 16);
    if (error == std::errc() && stop == end && value <= 0xFFFFFFFFu) {
      type = static_cast<std::int64_t>(value);
    }
  } else if (const std::optional<std::int64_t> value = parseInteger(text);
             value && *value >= 0 && *value <= 0xFFFFFFFF) {
    type = value;
  }
  if (!type) {
    return failure({"event type \"", text, "\" is not a number from 0 to 0xFFFFFFFF"});
  }
  return Inject{sim::SimEvent::ofType(static_cast<EventType>(*type))};
}

Parsed parseNatural(const Words& words) {
  if (words.size() == 2) {
    if (words[1] == "on") return SetNatural{true};
    if (words[1] == "off") return SetNatural{false};
    if (words[1] == "unset") return SetNatural{std::monostate{}};
    return usageError("natural");
  }
  if (words.size() < 3) return usageError("natural");
  if (words[1] == "string") return SetNatural{PreferenceOther{std::string(words.restAfter(2))}};
  if (words.size() != 3) return usageError("natural");
  if (words[1] == "int") {
    const std::optional<std::int64_t> n = parseInteger(words[2]);
    if (!n) return notAWholeNumber(words[2]);
    return SetNatural{*n};
  }
  if (words[1] == "real") {
    const std::optional<double> x = parseDecimal(words[2]);
    if (!x) return notADecimalNumber(words[2]);
    return SetNatural{*x};
  }
  return usageError("natural");
}

Parsed parseTap(const Words& words) {
  if (words.size() == 2 && words[1] == "deaf") return DeafenTap{};
  if (words.size() != 3) return usageError("tap");
  if (words[1] == "fail") {
    if (words[2] == "create") return SetTapFailure{sim::SimEventTaps::CreationFailure::tap};
    if (words[2] == "source") return SetTapFailure{sim::SimEventTaps::CreationFailure::source};
    if (words[2] == "none") return SetTapFailure{sim::SimEventTaps::CreationFailure::none};
  } else if (words[1] == "disable") {
    if (words[2] == "timeout") return DisableTap{sim::SimEventTaps::DisableReason::timeout};
    if (words[2] == "user") return DisableTap{sim::SimEventTaps::DisableReason::userInput};
    if (words[2] == "silent") return DisableTap{sim::SimEventTaps::DisableReason::silent};
  }
  return usageError("tap");
}

Parsed parseLogin(const Words& words) {
  if (words.size() >= 3 && words[1] == "fail")
    return FailLoginChange{std::string(words.restAfter(2))};
  if (words.size() == 3 && words[1] == "status") {
    if (words[2] == "enabled") return SetLoginStatus{LoginItemStatus::enabled};
    if (words[2] == "not-registered") return SetLoginStatus{LoginItemStatus::notRegistered};
    if (words[2] == "requires-approval") return SetLoginStatus{LoginItemStatus::requiresApproval};
    if (words[2] == "not-found") return SetLoginStatus{LoginItemStatus::notFound};
  }
  return usageError("login");
}

Parsed parseUpdate(const Words& words) {
  using Kind = sim::SimUpdater::FeedAnswer::Kind;
  if (words.size() == 2 && words[1] == "none") return SetUpdateFeed{};
  if (words.size() == 3 && words[1] == "offer") {
    return SetUpdateFeed{{Kind::offer, std::string(words[2])}};
  }
  if (words.size() >= 3 && words[1] == "fail") {
    return SetUpdateFeed{{Kind::fail, std::string(words.restAfter(2))}};
  }
  return usageError("update");
}

Parsed parseWait(const Words& words) {
  if (words.size() != 2) return usageError("wait");
  const std::optional<double> seconds = parseDecimal(words[1]);
  if (!seconds) return notADecimalNumber(words[1]);
  if (*seconds < 0) return Error{"wait takes seconds >= 0"};
  if (*seconds > longestWait) return Error{"wait takes at most 86400 seconds at once"};
  return Wait{*seconds};
}

Parsed onOff(const Words& words, std::string_view yes, std::string_view no, const char* command,
             Command (*make)(bool)) {
  if (words.size() == 2 && words[1] == yes) return make(true);
  if (words.size() == 2 && words[1] == no) return make(false);
  return usageError(command);
}

Parsed parseChoose(const Words& words) {
  if (words.size() < 2) return usageError("choose");
  const std::string_view rest = words.restAfter(1);
  const bool isNumber =
      std::all_of(rest.begin(), rest.end(), [](char c) { return c >= '0' && c <= '9'; });
  if (!isNumber) return Choose{std::string(rest)};
  return parseCount(rest, "menu entries", [](std::size_t n) -> Command { return Choose{n}; });
}

Parsed parseKey(const Words& words) {
  if (words.size() == 2 && words[1] == "escape") return EscapeKey{};
  if (words.size() != 2 || words[1].size() != 5 || words[1].substr(0, 4) != "cmd-") {
    return usageError("key");
  }
  return KeyEquivalentPress{words[1][4]};
}

Parsed parsePress(const Words& words) {
  if (words.size() != 2) return usageError("press");
  return parseCount(words[1], "buttons", [](std::size_t n) -> Command { return PressButton{n}; });
}

Parsed parseRespond(const Words& words) {
  if (words.size() != 2) return usageError("respond");
  const std::optional<std::int64_t> code = parseInteger(words[1]);
  if (!code || *code < std::numeric_limits<long>::min() ||
      *code > std::numeric_limits<long>::max()) {
    return notAWholeNumber(words[1]);
  }
  return Respond{static_cast<long>(*code)};
}

Parsed parseTrackpad(const Words& words) {
  if (words.size() != 2) return usageError("trackpad");
  const std::optional<std::int64_t> points = parseInteger(words[1]);
  if (!points) return notAWholeNumber(words[1]);
  return Inject{sim::SimEvent::trackpad(*points)};
}

// A command of one word.
template <typename C>
Parsed bare(const Words& words) {
  if (words.size() != 1) return usageError(words[0]);
  return C{};
}

// Every command once: its name, how it is written (alternatives separated by " | "), what it
// does, the parser. help lists them in this order.
struct CommandEntry {
  std::string_view name;
  std::string_view forms;
  std::string_view what;
  Parsed (*parse)(const Words& words);
};
constexpr CommandEntry commands[] = {
    {"menu", "menu", "print the menu as it is now", bare<ShowMenu>},
    {"choose", "choose <n> | choose <label>", "choose a menu entry by number or label",
     parseChoose},
    {"key", "key cmd-<key> | key escape",
     "press a menu entry's key equivalent, or Escape in the open alert", parseKey},
    {"press", "press <n>", "press the open alert's n-th button", parsePress},
    {"respond", "respond <code>", "end the open alert with a raw response code", parseRespond},
    {"scroll", "scroll <field>=<value> ...", "inject a scroll-wheel event with these fields",
     parseScroll},
    {"wheel", "wheel <lines> [<horizontal lines>]", "inject a mouse-wheel event", parseWheel},
    {"trackpad", "trackpad <points>", "inject a trackpad scroll event", parseTrackpad},
    {"event", "event <type>", "inject an event of another type", parseEventType},
    {"natural", "natural on|off|unset | natural int <n> | natural real <x> | natural string <s>",
     "set the natural-scrolling preference as the system stores it", parseNatural},
    {"trust", "trust on|off", "grant or revoke Accessibility trust",
     [](const Words& words) {
       return onOff(words, "on", "off", "trust", [](bool on) -> Command { return SetTrust{on}; });
     }},
    {"tap", "tap fail create|source|none | tap disable timeout|user|silent | tap deaf",
     "make creating a tap fail, have the system disable the installed tap, or starve it",
     parseTap},
    {"system", "system sleep|wake", "the Mac sleeps, or wakes and says so",
     [](const Words& words) {
       return onOff(words, "sleep", "wake", "system",
                    [](bool asleep) -> Command { return SetAsleep{asleep}; });
     }},
    {"session", "session off|on", "switch the user's session away, or back",
     [](const Words& words) {
       return onOff(words, "on", "off", "session",
                    [](bool active) -> Command { return SetSessionActive{active}; });
     }},
    {"open", "open accept|refuse", "how the system answers requests to open a URL",
     [](const Words& words) {
       return onOff(words, "accept", "refuse", "open",
                    [](bool accept) -> Command { return SetOpensURLs{accept}; });
     }},
    {"login", "login status enabled|not-registered|requires-approval|not-found | login fail <text>",
     "set the login item's state, or make its next change fail with this text", parseLogin},
    {"copy", "copy running|none", "whether another copy of the application runs",
     [](const Words& words) {
       return onOff(words, "running", "none", "copy",
                    [](bool running) -> Command { return SetAnotherCopy{running}; });
     }},
    {"update", "update offer <version> | update none | update fail <text>",
     "what the update feed answers to the checks that follow", parseUpdate},
    {"wait", "wait <seconds>", "let time pass", parseWait},
    {"relaunch", "relaunch", "end the application and start it again", bare<Relaunch>},
    {"state", "state", "print the status, the tap and the switches", bare<ShowState>},
    {"defaults", "defaults", "print the stored user defaults", bare<ShowDefaults>},
    {"help", "help", "print this list and the start options", bare<Help>},
    {"quit", "quit", "end the session, as the end of input does", bare<Quit>},
    {"exit", "exit", "the same as quit", bare<Quit>},
};

const CommandEntry* findCommand(std::string_view name) {
  const auto found = std::find_if(std::begin(commands), std::end(commands),
                                  [name](const CommandEntry& entry) { return entry.name == name; });
  return found == std::end(commands) ? nullptr : found;
}

Error usageError(std::string_view command) {
  const CommandEntry* entry = findCommand(command);
  return failure({"usage: ", entry != nullptr ? entry->forms : command});
}

}  // namespace

Result<Command> parseCommand(std::string_view line) {
  const Words words(line);
  if (words.size() == 0 || words[0].front() == '#') return Nothing{};
  if (const CommandEntry* entry = findCommand(words[0])) return entry->parse(words);
  return failure({"unknown command \"", words[0], "\"; help lists the commands"});
}

const std::vector<std::string>& commandUsages() {
  static const std::vector<std::string> lines = [] {
    std::vector<std::string> all;
    for (const CommandEntry& entry : commands) {
      all.push_back(std::string(entry.forms) + "  " + std::string(entry.what));
    }
    return all;
  }();
  return lines;
}

}  // namespace wheelright::console
