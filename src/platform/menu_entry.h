#pragma once
// The menu as data: an ordered list of plain entries that a platform renders as a pull-down menu
// and routes choices back through.

#include <functional>
#include <optional>
#include <string>
#include <variant>

namespace wheelright {

// A line that cannot be chosen.
struct MenuText {
  std::string text;
  friend bool operator==(const MenuText&, const MenuText&) = default;
};

struct MenuSeparator {
  friend bool operator==(const MenuSeparator&, const MenuSeparator&) = default;
};

// An entry with a check mark; choosing it calls setValue with the opposite of isOn.
struct MenuSwitch {
  std::string label;
  bool isOn = false;
  std::function<void(bool)> setValue;
  // Equality is about what is shown; the write-back is not compared.
  friend bool operator==(const MenuSwitch& a, const MenuSwitch& b) {
    return a.label == b.label && a.isOn == b.isOn;
  }
};

enum class KeyModifier { command };

struct KeyEquivalent {
  char key = 0;
  KeyModifier modifier = KeyModifier::command;
  friend bool operator==(const KeyEquivalent&, const KeyEquivalent&) = default;
};

// An entry that runs an operation when chosen.
struct MenuAction {
  std::string label;
  std::function<void()> perform;
  std::optional<KeyEquivalent> keyEquivalent;
  friend bool operator==(const MenuAction& a, const MenuAction& b) {
    return a.label == b.label && a.keyEquivalent == b.keyEquivalent;
  }
};

using MenuEntry = std::variant<MenuText, MenuSeparator, MenuSwitch, MenuAction>;

// The menu-bar label: a title (also the accessibility title) and a system symbol name.
struct StatusLabel {
  std::string title;
  std::string symbolName;
  friend bool operator==(const StatusLabel&, const StatusLabel&) = default;
};

}  // namespace wheelright
