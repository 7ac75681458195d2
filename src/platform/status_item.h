#pragma once
// The application's one menu-bar item (NSStatusItem with an NSMenu). The item pulls its label and
// its menu entries from providers, so what it shows is built from current values. Main thread.

#include <functional>
#include <vector>

#include "platform/menu_entry.h"

namespace wheelright {

class StatusItem {
 public:
  using LabelProvider = std::function<StatusLabel()>;
  using MenuProvider = std::function<std::vector<MenuEntry>()>;

  virtual ~StatusItem() = default;

  // Puts the item in the menu bar with the label built now; the menu is built from the provider
  // whenever it is about to be shown.
  virtual void show(LabelProvider label, MenuProvider menu) = 0;
  // The values behind label or menu have changed: rebuild the label now, and the menu if open.
  virtual void setNeedsUpdate() = 0;
  // Takes the item out of the menu bar and drops the providers.
  virtual void remove() = 0;
};

}  // namespace wheelright
