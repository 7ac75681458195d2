#pragma once
// The simulated menu-bar item: it shows "icon: <symbol>" when it appears and whenever an update
// finds a symbol other than the one last shown, builds the menu from the provider on demand and
// routes a chosen entry or a key equivalent back to the entry.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/sim/desktop_log.h"
#include "platform/status_item.h"

namespace wheelright::sim {

class SimStatusItem final : public StatusItem {
 public:
  explicit SimStatusItem(DesktopLog& log) : log_(log) {}

  void show(LabelProvider label, MenuProvider menu) override;
  void setNeedsUpdate() override;
  void remove() override;

  bool isShown() const { return static_cast<bool>(label_); }
  // Built now from the providers; none and empty while the item is not shown.
  std::optional<StatusLabel> label() const;
  std::vector<MenuEntry> menu() const;

  // The user opens the menu and chooses an entry: the n-th choosable one (from 1) or the one
  // with this label. False when the item is not shown or has no such entry.
  bool choose(std::size_t number);
  bool choose(const std::string& label);
  // The user types Command and this key while the menu is open.
  bool pressKeyEquivalent(char key);

  // The work the item has done: labels set in the bar (a new label only) and menus built.
  int labelSetCount() const { return labelSets_; }
  int menuBuildCount() const { return menuBuilds_; }

 private:
  void updateLabel();
  // Chooses the first switch or action that matches, given its label (and the action, if one).
  bool chooseFirst(
      const std::function<bool(const std::string& label, const MenuAction* action)>& matches);

  DesktopLog& log_;
  LabelProvider label_;
  MenuProvider menu_;
  std::optional<StatusLabel> shownLabel_;
  int labelSets_ = 0;
  mutable int menuBuilds_ = 0;
};

}  // namespace wheelright::sim
