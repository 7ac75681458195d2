#include "platform/sim/sim_status_item.h"

#include <utility>
#include <variant>

namespace wheelright::sim {

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
  std::size_t seen = 0;
  return chooseFirst(
      [&seen, number](const std::string&, const MenuAction*) { return ++seen == number; });
}

bool SimStatusItem::choose(const std::string& label) {
  return chooseFirst([&label](const std::string& l, const MenuAction*) { return l == label; });
}

bool SimStatusItem::pressKeyEquivalent(char key) {
  return chooseFirst([key](const std::string&, const MenuAction* action) {
    return action != nullptr && action->keyEquivalent == KeyEquivalent{key, KeyModifier::command};
  });
}

// Switches flip, actions run; text lines and separators cannot be chosen.
bool SimStatusItem::chooseFirst(
    const std::function<bool(const std::string& label, const MenuAction* action)>& matches) {
  for (const MenuEntry& entry : menu()) {
    if (const auto* item = std::get_if<MenuSwitch>(&entry); item && matches(item->label, nullptr)) {
      if (item->setValue) item->setValue(!item->isOn);
      return true;
    }
    if (const auto* item = std::get_if<MenuAction>(&entry); item && matches(item->label, item)) {
      if (item->perform) item->perform();
      return true;
    }
  }
  return false;
}

}  // namespace wheelright::sim
