#pragma once
// The user's switches (scrollSwitches), held in memory, written through to the user defaults
// store on every change and announced to observers before each change; plus the onboarding flag's
// default.

#include <memory>
#include <string>

#include "base/observable.h"
#include "platform/user_defaults.h"
#include "scroll/scroll_configuration.h"

namespace wheelright {

namespace settings_key {
inline const std::string hasShownNaturalScrollOnboarding = "hasShownNaturalScrollOnboarding";
}  // namespace settings_key

class AppSettings {
 public:
  // Registers the defaults of every switch and of the onboarding flag, then loads the switches.
  // Writes nothing.
  explicit AppSettings(std::shared_ptr<UserDefaults> defaults);
  AppSettings(const AppSettings&) = delete;
  AppSettings& operator=(const AppSettings&) = delete;

  ObjectWillChange objectWillChange;

  UserDefaults& defaults() const { return *defaults_; }

  // One of scrollSwitches.
  bool isOn(const ScrollSwitch& which) const;
  // Announces, stores and persists, also when the value is unchanged.
  void set(const ScrollSwitch& which, bool value);

  bool isEnabled() const { return isEnabled_; }
  void setIsEnabled(bool value) { set(enabledSwitch, value); }

  // The rewriting switches as they are now; isEnabled is not part of it.
  ScrollConfiguration configuration() const noexcept { return configuration_; }

 private:
  std::shared_ptr<UserDefaults> defaults_;
  Published<bool> isEnabled_;
  Published<ScrollConfiguration> configuration_;
};

}  // namespace wheelright
