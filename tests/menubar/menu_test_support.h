#pragma once
// Menus as text lines, so that a whole menu compares in one assertion.

#include <string>
#include <variant>
#include <vector>

#include "platform/menu_entry.h"

namespace wheelright::testing {

inline std::vector<std::string> describe(const std::vector<MenuEntry>& entries) {
  std::vector<std::string> lines;
  for (const MenuEntry& entry : entries) {
    std::visit(
        [&lines](const auto& e) {
          using E = std::decay_t<decltype(e)>;
          if constexpr (std::is_same_v<E, MenuText>) {
            lines.push_back("text " + e.text);
          } else if constexpr (std::is_same_v<E, MenuSeparator>) {
            lines.push_back("---");
          } else if constexpr (std::is_same_v<E, MenuSwitch>) {
            lines.push_back(std::string(e.isOn ? "[x] " : "[ ] ") + e.label);
          } else {
            lines.push_back("action " + e.label + (e.keyEquivalent ? " (cmd-" + std::string(1, e.keyEquivalent->key) + ")" : ""));
          }
        },
        entry);
  }
  return lines;
}

// The entry with this label (a switch or an action).
template <typename T>
const T& entryLabelled(const std::vector<MenuEntry>& entries, const std::string& label) {
  for (const MenuEntry& entry : entries) {
    if (const T* e = std::get_if<T>(&entry); e && e->label == label) return *e;
  }
  throw std::runtime_error("no entry " + label);
}

}  // namespace wheelright::testing
