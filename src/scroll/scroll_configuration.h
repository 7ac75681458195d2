#pragma once
// The user's switches, each declared once: the record that the rewriting rule reads, and for each
// switch its stored key, its value for a fresh user, its label and its place in the menu.

#include <string_view>

namespace wheelright {

// Four bytes rather than three: GCC moves a three-byte record through the stack a byte at a time
// and reloads it whole, a stalled load that made the wheel path some 25% slower.
struct alignas(4) ScrollConfiguration {
  bool reverseVertical = false;
  bool reverseHorizontal = false;
  // A wheel that reports continuous deltas but no phases is reversed like an ordinary wheel.
  bool treatContinuousWithoutPhaseAsMouse = false;
  friend bool operator==(const ScrollConfiguration&, const ScrollConfiguration&) = default;
};

struct ScrollSwitch {
  std::string_view key;      // in the user defaults store
  bool isOnAtFirst;          // the registered default: what a fresh user has
  std::string_view textKey;  // the label's key in the string tables
  // The field it sets; none for isEnabled, which never reaches the rule: switched off, the tap
  // stops and the model re-evaluates its status.
  bool ScrollConfiguration::*field;
};

// The menu shows the switches together, in this order.
inline constexpr ScrollSwitch scrollSwitches[] = {
    {"isEnabled", true, "menu.enable", nullptr},
    {"reverseVertical", true, "menu.reverseVertical", &ScrollConfiguration::reverseVertical},
    {"reverseHorizontal", false, "menu.reverseHorizontal", &ScrollConfiguration::reverseHorizontal},
    {"treatContinuousWithoutPhaseAsMouse", false, "menu.smoothWheel",
     &ScrollConfiguration::treatContinuousWithoutPhaseAsMouse},
};
inline constexpr const ScrollSwitch& enabledSwitch = scrollSwitches[0];

// What a fresh user gets, and what the tap falls back to once the model is gone.
inline constexpr ScrollConfiguration settingsDefaultConfiguration = [] {
  ScrollConfiguration fresh;
  for (const ScrollSwitch& which : scrollSwitches) {
    if (which.field != nullptr) fresh.*which.field = which.isOnAtFirst;
  }
  return fresh;
}();

}  // namespace wheelright
