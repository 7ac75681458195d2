#include "console/desktop_text.h"

#include <cstdint>
#include <string_view>
#include <type_traits>
#include <variant>

#include "console/number_text.h"
#include "platform/event_tap_services.h"

namespace wheelright::console {
namespace {

const char* styleName(AlertStyle style) {
  switch (style) {
    case AlertStyle::warning:
      return "warning";
    case AlertStyle::informational:
      return "informational";
    case AlertStyle::critical:
      return "critical";
  }
  return "warning";
}

// The fields of a scroll-wheel event in the order the console shows them.
struct ShownField {
  EventField id;
  bool isDouble;
};
constexpr ShownField shownFields[] = {
    {field::isContinuous, false},     {field::scrollPhase, false},
    {field::momentumPhase, false},    {field::deltaAxis1, false},
    {field::deltaAxis2, false},       {field::deltaAxis3, false},
    {field::fixedPtDeltaAxis1, true}, {field::fixedPtDeltaAxis2, true},
    {field::fixedPtDeltaAxis3, true}, {field::pointDeltaAxis1, false},
    {field::pointDeltaAxis2, false},  {field::pointDeltaAxis3, false},
};

}  // namespace

std::vector<std::string> alertLines(const AlertContent& alert) {
  std::vector<std::string> lines;
  lines.push_back(std::string("alert: ") + styleName(alert.style) + ": " + alert.messageText);
  if (!alert.informativeText.empty()) {
    std::string_view rest = alert.informativeText;
    for (;;) {
      const std::size_t end = rest.find('\n');
      const std::string_view line = rest.substr(0, end);
      lines.push_back(line.empty() ? std::string("  |") : "  | " + std::string(line));
      if (end == std::string_view::npos) break;
      rest.remove_prefix(end + 1);
    }
  }
  if (!alert.iconSymbolName.empty()) {
    std::string icon = "  icon: " + alert.iconSymbolName;
    if (!alert.iconAccessibilityDescription.empty()) {
      icon += " (" + alert.iconAccessibilityDescription + ")";
    }
    lines.push_back(std::move(icon));
  }
  for (std::size_t i = 0; i < alert.buttonTitles.size(); ++i) {
    lines.push_back("  button " + std::to_string(i + 1) + ": " + alert.buttonTitles[i]);
  }
  return lines;
}

std::string eventLine(const sim::SimEvent& event) {
  if (event.type != event_type::scrollWheel) return "event: type=" + std::to_string(event.type);
  std::string line = "event:";
  for (const ShownField& shown : shownFields) {
    line += ' ';
    line += std::to_string(shown.id);
    line += '=';
    line += shown.isDouble ? shortestText(event.doubleValue(shown.id))
                           : std::to_string(event.integerValue(shown.id));
  }
  return line;
}

std::vector<std::string> menuLines(const StatusLabel& label,
                                   const std::vector<MenuEntry>& entries) {
  std::vector<std::string> lines{"menu: " + label.symbolName + " " + label.title};
  int number = 0;
  for (const MenuEntry& entry : entries) {
    lines.push_back(std::visit(
        [&number](const auto& item) -> std::string {
          using Item = std::decay_t<decltype(item)>;
          if constexpr (std::is_same_v<Item, MenuText>) {
            return "  " + item.text;
          } else if constexpr (std::is_same_v<Item, MenuSeparator>) {
            return "  ---";
          } else if constexpr (std::is_same_v<Item, MenuSwitch>) {
            return "  " + std::to_string(++number) + (item.isOn ? " [x] " : " [ ] ") + item.label;
          } else {
            std::string line = "  " + std::to_string(++number) + " " + item.label;
            if (item.keyEquivalent) line += std::string(" (cmd-") + item.keyEquivalent->key + ")";
            return line;
          }
        },
        entry));
  }
  return lines;
}

}  // namespace wheelright::console
