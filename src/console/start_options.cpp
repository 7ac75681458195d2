#include "console/start_options.h"

#include <algorithm>

namespace wheelright::console {
namespace {

struct Choice {
  std::string_view value;
  Command command;
};
// A choice whose command is made in place: GCC 12 needs gigabytes to pick the Command
// alternative of a braced value in a table this size.
template <typename C, typename... Args>
Choice choice(std::string_view value, Args... args) {
  return {value, Command(std::in_place_type<C>, C{args...})};
}
struct DesktopSetting {
  std::string_view name;
  std::vector<Choice> choices;
};

// In the words of the operating-system commands, so that a transcript can start anywhere.
const std::vector<DesktopSetting>& desktopSettings() {
  static const std::vector<DesktopSetting> settings = [] {
    using Failure = sim::SimEventTaps::CreationFailure;
    std::vector<DesktopSetting> all;
    const auto add = [&all](std::string_view name, std::initializer_list<Choice> choices) {
      all.push_back({name, choices});
    };
    add("trust", {choice<SetTrust>("on", true), choice<SetTrust>("off", false)});
    add("natural", {choice<SetNatural>("on", true), choice<SetNatural>("off", false),
                    choice<SetNatural>("unset")});
    add("login", {choice<SetLoginStatus>("enabled", LoginItemStatus::enabled),
                  choice<SetLoginStatus>("not-registered", LoginItemStatus::notRegistered),
                  choice<SetLoginStatus>("requires-approval", LoginItemStatus::requiresApproval),
                  choice<SetLoginStatus>("not-found", LoginItemStatus::notFound)});
    add("open", {choice<SetOpensURLs>("accept", true), choice<SetOpensURLs>("refuse", false)});
    add("tap", {choice<SetTapFailure>("fail-create", Failure::tap),
                choice<SetTapFailure>("fail-source", Failure::source),
                choice<SetTapFailure>("none", Failure::none)});
    add("copy", {choice<SetAnotherCopy>("running", true), choice<SetAnotherCopy>("none", false)});
    add("update", {choice<SetOffersUpdates>("on", true), choice<SetOffersUpdates>("off", false)});
    return all;
  }();
  return settings;
}

std::string choicesText(const DesktopSetting& setting) {
  std::string text = std::string(setting.name) + "=";
  for (const Choice& choice : setting.choices) {
    if (&choice != &setting.choices.front()) text += "|";
    text += choice.value;
  }
  return text;
}

Error failure(std::string_view option, std::string_view text) {
  return Error{"wheelright: " + std::string(option) + ": " + std::string(text)};
}

// A language code as the system lists preferred languages: "ko", "en", "pt-BR", "zh-Hans". It
// names a folder, so nothing else gets through.
bool isLanguageCode(std::string_view code) {
  for (bool isLanguage = true;; isLanguage = false) {
    const std::size_t end = std::min(code.find_first_of("-_"), code.size());
    const std::string_view part = code.substr(0, end);
    const bool isWord = std::all_of(part.begin(), part.end(), [isLanguage](char c) {
      return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
             (!isLanguage && c >= '0' && c <= '9');
    });
    if (!isWord || part.empty() || part.size() > (isLanguage ? 3 : 8) ||
        (isLanguage && part.size() < 2)) {
      return false;
    }
    if (end == code.size()) return true;
    code.remove_prefix(end + 1);
  }
}

// One --desktop value: settings separated by commas; names already given are in `named`.
Result<> addDesktopSettings(std::string_view list, std::vector<std::string_view>& named,
                            StartOptions& options) {
  for (;;) {
    const std::size_t comma = list.find(',');
    const std::string_view item = list.substr(0, comma);
    const std::size_t equals = item.find('=');
    const std::string_view name = item.substr(0, equals);
    const std::string_view value =
        equals == std::string_view::npos ? std::string_view() : item.substr(equals + 1);
    if (std::find(named.begin(), named.end(), name) != named.end()) {
      return failure("--desktop", std::string(name) + " is given twice");
    }
    const auto setting = std::find_if(desktopSettings().begin(), desktopSettings().end(),
                                      [&](const DesktopSetting& s) { return s.name == name; });
    if (equals == std::string_view::npos ||
        (setting == desktopSettings().end() && name != "language")) {
      return failure(
          "--desktop",
          "unknown setting \"" + std::string(item) +
              "\"; the settings are trust, natural, login, open, tap, copy, update, language");
    }
    if (name == "language") {
      if (!isLanguageCode(value)) {
        return failure("--desktop", "\"" + std::string(item) +
                                        "\" is not language=<code>, a code such as en or pt-BR");
      }
      options.language = value;
    } else {
      const auto choice = std::find_if(setting->choices.begin(), setting->choices.end(),
                                       [&](const Choice& c) { return c.value == value; });
      if (choice == setting->choices.end()) {
        return failure("--desktop",
                       "\"" + std::string(item) + "\" is not " + choicesText(*setting));
      }
      options.desktop.push_back(choice->command);
    }
    named.push_back(name);
    if (comma == std::string_view::npos) return {};
    list.remove_prefix(comma + 1);
  }
}

}  // namespace

Result<StartOptions> parseStartOptions(const std::vector<std::string_view>& args) {
  StartOptions options;
  std::vector<std::string_view> named;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg == "--echo") {
      options.echoesInput = true;
    } else if (arg == "--help") {
      options.action = StartOptions::Action::showHelp;
    } else if (arg == "--version") {
      options.action = StartOptions::Action::showVersion;
    } else if (arg == "--desktop" || arg.starts_with("--desktop=")) {
      std::string_view list;
      if (arg != "--desktop") {
        list = arg.substr(arg.find('=') + 1);
      } else if (i + 1 < args.size()) {
        list = args[++i];
      } else {
        return failure("--desktop", "needs <setting>,...");
      }
      if (Result<> added = addDesktopSettings(list, named, options); !added) {
        return Error{added.error()};
      }
    } else {
      return Error{"wheelright: unknown option \"" + std::string(arg) +
                   "\"; --help lists the options"};
    }
  }
  return options;
}

std::vector<std::string> startOptionArguments(const StartOptions& options) {
  std::vector<std::string> args;
  if (options.echoesInput) args.emplace_back("--echo");
  if (options.action == StartOptions::Action::showHelp) args.emplace_back("--help");
  if (options.action == StartOptions::Action::showVersion) args.emplace_back("--version");
  std::string list;
  for (const Command& command : options.desktop) {
    for (const DesktopSetting& setting : desktopSettings()) {
      for (const Choice& choice : setting.choices) {
        if (choice.command != command) continue;
        if (!list.empty()) list += ',';
        list += std::string(setting.name) + "=" + std::string(choice.value);
      }
    }
  }
  if (options.language != StartOptions{}.language) {
    if (!list.empty()) list += ',';
    list += "language=" + options.language;
  }
  if (!list.empty()) args.insert(args.end(), {"--desktop", list});
  return args;
}

const std::vector<std::string>& startOptionUsages() {
  static const std::vector<std::string> lines = [] {
    std::vector<std::string> all = {
        "--echo  print each input line as \"> <line>\" before its output",
        "--desktop <setting>,...  the desktop at start, each setting once:"};
    for (const DesktopSetting& setting : desktopSettings())
      all.push_back("  " + choicesText(setting));
    all.emplace_back("  language=<code>  the preferred language, e.g. en or pt-BR; at first ko");
    all.emplace_back("--help  print the start options and the commands");
    all.emplace_back("--version");
    return all;
  }();
  return lines;
}

std::vector<std::string> helpLines() {
  std::vector<std::string> lines = {"usage: wheelright [--echo] [--desktop <setting>,...]",
                                    "       wheelright --help | --version", "start options:"};
  for (const std::string& usage : startOptionUsages()) lines.push_back("  " + usage);
  lines.emplace_back("commands, one a line on standard input:");
  for (const std::string& usage : commandUsages()) lines.push_back("  " + usage);
  return lines;
}

}  // namespace wheelright::console
