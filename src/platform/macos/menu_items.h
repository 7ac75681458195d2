#pragma once
// How each menu entry becomes an NSMenuItem: plain values that the status item copies onto
// Cocoa objects, and the one closure that choosing the item runs. Plain C++, so that the
// routing of choices is tested on every system.

#include <functional>
#include <string>
#include <vector>

#include "platform/menu_entry.h"

namespace wheelright {

struct MenuItemSpec {
  enum class Kind { item, separator };
  Kind kind = Kind::item;
  std::string title;
  bool isChecked = false;
  // Text lines cannot be chosen and look it; so does an action that has nothing to run.
  bool isEnabled = true;
  std::string keyEquivalent;  // empty when there is none
  bool usesCommandModifier = false;
  std::function<void()> choose;  // empty exactly when the item is not enabled
};

std::vector<MenuItemSpec> menuItemSpecs(const std::vector<MenuEntry>& entries);

}  // namespace wheelright
