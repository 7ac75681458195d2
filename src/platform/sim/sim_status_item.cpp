#include "platform/sim/sim_status_item.h"

#include <type_traits>
#include <utility>
#include <variant>

namespace wheelright::sim {
namespace {

// Switches flip, actions run; text lines and separators cannot be chosen.
bool chooseEntry(const MenuEntry& entry) {
  if (const auto* item = std::get_if<MenuSwitch>(&entry)) {
    if (item->setValue) item->setValue(!item->isOn);
    return true;
  }
  if (const auto* item = std::get_if<MenuAction>(&entry)) {
    if (item->perform) item->perform();
    return true;
  }
  return false;
}

bool isChoosable(const MenuEntry& entry) {
  return std::holds_alternative<MenuSwitch>(entry) || std::holds_alternative<MenuAction>(entry);
}

}  // namespace

void SimStatusItem::show(LabelProvider label, MenuProvider menu) {
  log_.call("statusItemShow");
  label_ = std::move(label);
  menu_ = std::move(menu);
  shownLabel_.reset();
  updateLabel();
}

void SimStatusItem::setNeedsUpdate() {
  log_.call("statusItemSetNeedsUpdate");
  if (label_) updateLabel();
}

// As a bar item would, only a label that differs is set, and only a new symbol shown.
void SimStatusItem::updateLabel() {
  StatusLabel label = label_();
  if (label == shownLabel_) return;
  ++labelSets_;
  const bool isNewSymbol = !shownLabel_ || shownLabel_->symbolName != label.symbolName;
  shownLabel_ = std::move(label);
  if (isNewSymbol) log_.show("icon: " + shownLabel_->symbolName);
}

void SimStatusItem::remove() {
  log_.call("statusItemRemove");
  label_ = nullptr;
  menu_ = nullptr;
  shownLabel_.reset();
}

std::optional<StatusLabel> SimStatusItem::label() const {
  if (!label_) return std::nullopt;
  return label_();
}

std::vector<MenuEntry> SimStatusItem::menu() const {
  if (!menu_) return {};
  ++menuBuilds_;
  return menu_();
}

bool SimStatusItem::choose(std::size_t number) {
  const std::vector<MenuEntry> entries = menu();
  std::size_t seen = 0;
  for (const MenuEntry& entry : entries) {
    if (isChoosable(entry) && ++seen == number) return chooseEntry(entry);
  }
  return false;
}

bool SimStatusItem::choose(const std::string& label) {
  const std::vector<MenuEntry> entries = menu();
  for (const MenuEntry& entry : entries) {
    const auto* item = std::get_if<MenuSwitch>(&entry);
    const auto* action = std::get_if<MenuAction>(&entry);
    if ((item != nullptr && item->label == label) ||
        (action != nullptr && action->label == label)) {
      return chooseEntry(entry);
    }
  }
  return false;
}

bool SimStatusItem::pressKeyEquivalent(char key) {
  const std::vector<MenuEntry> entries = menu();
  for (const MenuEntry& entry : entries) {
    const auto* action = std::get_if<MenuAction>(&entry);
    if (action != nullptr && action->keyEquivalent && action->keyEquivalent->key == key &&
        action->keyEquivalent->modifier == KeyModifier::command) {
      return chooseEntry(entry);
    }
  }
  return false;
}

}  // namespace wheelright::sim
