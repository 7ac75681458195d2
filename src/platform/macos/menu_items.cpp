#include "platform/macos/menu_items.h"

#include <string>
#include <variant>

namespace wheelright {
namespace {

MenuItemSpec specFor(const MenuText& text) {
  MenuItemSpec spec;
  spec.title = text.text;
  spec.isEnabled = false;
  return spec;
}

MenuItemSpec specFor(const MenuSeparator& /*separator*/) {
  MenuItemSpec spec;
  spec.kind = MenuItemSpec::Kind::separator;
  spec.isEnabled = false;
  return spec;
}

MenuItemSpec specFor(const MenuSwitch& entry) {
  MenuItemSpec spec;
  spec.title = entry.label;
  spec.isChecked = entry.isOn;
  spec.isEnabled = static_cast<bool>(entry.setValue);
  // The value to write is fixed when the menu is built, from what the check mark shows then.
  if (spec.isEnabled) {
    spec.choose = [setValue = entry.setValue, next = !entry.isOn] { setValue(next); };
  }
  return spec;
}

MenuItemSpec specFor(const MenuAction& entry) {
  MenuItemSpec spec;
  spec.title = entry.label;
  spec.isEnabled = static_cast<bool>(entry.perform);
  spec.choose = entry.perform;
  if (entry.keyEquivalent && entry.keyEquivalent->key != 0) {
    spec.keyEquivalent = std::string(1, entry.keyEquivalent->key);
    spec.usesCommandModifier = entry.keyEquivalent->modifier == KeyModifier::command;
  }
  return spec;
}

}  // namespace

std::vector<MenuItemSpec> menuItemSpecs(const std::vector<MenuEntry>& entries) {
  std::vector<MenuItemSpec> specs;
  specs.reserve(entries.size());
  for (const MenuEntry& entry : entries) {
    specs.push_back(std::visit([](const auto& e) { return specFor(e); }, entry));
  }
  return specs;
}

}  // namespace wheelright
