#pragma once
// The user's four switches, held in memory, written through to the user defaults store on every
// change and announced to observers before each change; plus the onboarding flag's default.

#include <memory>
#include <string>

#include "base/observable.h"
#include "platform/user_defaults.h"
#include "scroll/scroll_configuration.h"

namespace wheelright {

namespace settings_key {
inline const std::string isEnabled = "isEnabled";
inline const std::string reverseVertical = "reverseVertical";
inline const std::string reverseHorizontal = "reverseHorizontal";
inline const std::string treatContinuousWithoutPhaseAsMouse = "treatContinuousWithoutPhaseAsMouse";
inline const std::string hasShownNaturalScrollOnboarding = "hasShownNaturalScrollOnboarding";
}  // namespace settings_key

class AppSettings {
 public:
  // Registers the defaults of all five keys, then loads the four switches. Writes nothing.
  explicit AppSettings(std::shared_ptr<UserDefaults> defaults);
  AppSettings(const AppSettings&) = delete;
  AppSettings& operator=(const AppSettings&) = delete;

  ObjectWillChange objectWillChange;

  UserDefaults& defaults() const { return *defaults_; }

  bool isEnabled() const { return isEnabled_; }
  bool reverseVertical() const { return reverseVertical_; }
  bool reverseHorizontal() const { return reverseHorizontal_; }
  bool treatContinuousWithoutPhaseAsMouse() const { return treatContinuousWithoutPhaseAsMouse_; }

  // Each write announces, stores and persists, also when the value is unchanged.
  void setIsEnabled(bool value);
  void setReverseVertical(bool value);
  void setReverseHorizontal(bool value);
  void setTreatContinuousWithoutPhaseAsMouse(bool value);

  // The rewriting switches as they are now; isEnabled is not part of it.
  ScrollConfiguration configuration() const noexcept {
    return {reverseVertical_, reverseHorizontal_, treatContinuousWithoutPhaseAsMouse_};
  }

 private:
  void write(Published<bool>& property, const std::string& key, bool value);

  std::shared_ptr<UserDefaults> defaults_;
  Published<bool> isEnabled_;
  Published<bool> reverseVertical_;
  Published<bool> reverseHorizontal_;
  Published<bool> treatContinuousWithoutPhaseAsMouse_;
};

}  // namespace wheelright
