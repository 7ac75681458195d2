#include "model/texts.h"

#include <array>
#include <cstddef>
#include <iterator>
#include <optional>

#include "scroll/scroll_configuration.h"

namespace wheelright {
namespace {

struct NamedText {
  Text text;
  std::string_view key;
  int argumentCount;
};

constexpr std::array<NamedText, 25> namedTexts{{
    {Text::statusActive, "status.active", 0},
    {Text::statusPaused, "status.paused", 0},
    {Text::statusNaturalScrollRequired, "status.naturalScrollRequired", 0},
    {Text::statusPermissionRequired, "status.permissionRequired", 0},
    {Text::statusError, "status.error", 0},
    {Text::statusWarningLine, "status.warningLine", 1},
    {Text::menuNaturalScrollOff, "menu.naturalScrollOff", 0},
    {Text::menuOpenTrackpadSettings, "menu.openTrackpadSettings", 0},
    {Text::menuAllowAccessibility, "menu.allowAccessibility", 0},
    {Text::menuLaunchAtLogin, "menu.launchAtLogin", 0},
    {Text::menuCheckForUpdates, "menu.checkForUpdates", 0},
    {Text::menuQuit, "menu.quit", 0},
    {Text::alertOnboardingTitle, "alert.onboarding.title", 0},
    {Text::alertNaturalScrollOffTitle, "alert.naturalScrollOff.title", 0},
    {Text::alertPermissionTitle, "alert.permission.title", 0},
    {Text::alertChecklist, "alert.checklist", 2},
    {Text::alertItemDone, "alert.checklist.done", 0},
    {Text::alertItemMissing, "alert.checklist.missing", 0},
    {Text::alertChecklistIcon, "alert.checklist.icon", 0},
    {Text::alertOpenTrackpadButton, "alert.button.openTrackpad", 0},
    {Text::alertOpenAccessibilityButton, "alert.button.openAccessibility", 0},
    {Text::alertDoneButton, "alert.button.done", 0},
    {Text::alertLaterButton, "alert.button.later", 0},
    {Text::errorCouldNotCreateTap, "error.couldNotCreateTap", 0},
    {Text::trustHint, "hint.staleTrust", 0},
}};

constexpr bool isInEnumerationOrder() {
  for (std::size_t i = 0; i < namedTexts.size(); ++i) {
    if (static_cast<std::size_t>(namedTexts[i].text) != i) return false;
  }
  return static_cast<std::size_t>(Text::trustHint) + 1 == namedTexts.size();
}
static_assert(isInEnumerationOrder(), "one row per Text, in order");

constexpr auto keys = [] {
  std::array<TextKey, namedTexts.size() + std::size(scrollSwitches)> all{};
  std::size_t i = 0;
  for (const NamedText& named : namedTexts) all[i++] = {named.key, named.argumentCount};
  for (const ScrollSwitch& which : scrollSwitches) all[i++] = {which.textKey, 0};
  return all;
}();

// A placeholder at `at` (a '%'): its length and the argument number it refers to, where `next`
// is the number a plain %@ takes. Nothing for "%%" or a lone '%'.
struct Placeholder {
  std::size_t length;
  int number;
};
std::optional<Placeholder> placeholderAt(std::string_view format, std::size_t at, int next) {
  if (format.substr(at, 2) == "%@") return Placeholder{2, next};
  std::size_t end = at + 1;
  int number = 0;
  while (end < format.size() && format[end] >= '0' && format[end] <= '9' && number < 1000) {
    number = number * 10 + (format[end++] - '0');
  }
  if (end == at + 1 || number == 0 || format.substr(end, 2) != "$@") return std::nullopt;
  return Placeholder{end + 2 - at, number};
}

// Walks the format: `literal` gets the text between placeholders, `argument` each placeholder.
template <typename Literal, typename Argument>
void scanFormat(std::string_view format, Literal literal, Argument argument) {
  int next = 1;
  std::size_t start = 0;
  for (std::size_t at = format.find('%'); at != std::string_view::npos;
       at = format.find('%', start)) {
    literal(format.substr(start, at - start));
    if (format.substr(at, 2) == "%%") {
      literal("%");
      start = at + 2;
    } else if (const auto placeholder = placeholderAt(format, at, next)) {
      if (format[at + 1] == '@') ++next;
      argument(format.substr(at, placeholder->length), placeholder->number);
      start = at + placeholder->length;
    } else {
      literal("%");
      start = at + 1;
    }
  }
  literal(format.substr(start));
}

}  // namespace

std::span<const TextKey> textKeys() { return keys; }

const TextKey& textKey(Text text) { return keys[static_cast<std::size_t>(text)]; }

std::string localized(const Localizer& localizer, Text text) {
  return localized(localizer, textKey(text).key);
}

std::string localized(const Localizer& localizer, std::string_view key) {
  const std::string name(key);
  // Unreachable while the tables pass their tests: the development table holds every key.
  return localizer.localizedString(name).value_or(name);
}

std::string localized(const Localizer& localizer, Text text,
                      const std::vector<std::string>& arguments) {
  return formatText(localized(localizer, text), arguments);
}

std::string formatText(std::string_view format, const std::vector<std::string>& arguments) {
  std::string text;
  scanFormat(
      format, [&](std::string_view part) { text += part; },
      [&](std::string_view written, int number) {
        const auto index = static_cast<std::size_t>(number - 1);
        text += index < arguments.size() ? std::string_view(arguments[index]) : written;
      });
  return text;
}

std::vector<int> placeholderNumbers(std::string_view format) {
  std::vector<int> numbers;
  scanFormat(
      format, [](std::string_view) {},
      [&](std::string_view, int number) { numbers.push_back(number); });
  return numbers;
}

}  // namespace wheelright
