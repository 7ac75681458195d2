#pragma once
// The text forms in which the simulated desktop shows its alerts, delivered events and the menu,
// one output line per string, each beginning with its fixed word.

#include <string>
#include <vector>

#include "platform/alert_presenter.h"
#include "platform/menu_entry.h"
#include "platform/sim/sim_event.h"

namespace wheelright::console {

// "alert: warning: <title>", then the informative text, the icon and the buttons, indented.
std::vector<std::string> alertLines(const AlertContent& alert);
// "event: 88=0 99=0 ..." for a scroll-wheel event, "event: type=<n>" for any other.
std::string eventLine(const sim::SimEvent& event);
// "menu: <symbol> <title>", then one line per entry; choosable entries are numbered from 1.
std::vector<std::string> menuLines(const StatusLabel& label, const std::vector<MenuEntry>& entries);

}  // namespace wheelright::console
