#include "settings/app_settings.h"

#include <map>
#include <utility>

namespace wheelright {
namespace {

std::shared_ptr<UserDefaults> registered(std::shared_ptr<UserDefaults> defaults) {
  // The rewriting switches' defaults are the tap's fallback too, so they are stated only there.
  constexpr ScrollConfiguration fresh = settingsDefaultConfiguration;
  defaults->registerDefaults({
      {settings_key::isEnabled, true},
      {settings_key::reverseVertical, fresh.reverseVertical},
      {settings_key::reverseHorizontal, fresh.reverseHorizontal},
      {settings_key::treatContinuousWithoutPhaseAsMouse, fresh.treatContinuousWithoutPhaseAsMouse},
      {settings_key::hasShownNaturalScrollOnboarding, false},
  });
  return defaults;
}

}  // namespace

// Members initialise in declaration order: the store is kept and its defaults registered before
// the four switches are read, in the order declared.
AppSettings::AppSettings(std::shared_ptr<UserDefaults> defaults)
    : defaults_(registered(std::move(defaults))),
      isEnabled_(objectWillChange, defaults_->boolForKey(settings_key::isEnabled)),
      reverseVertical_(objectWillChange, defaults_->boolForKey(settings_key::reverseVertical)),
      reverseHorizontal_(objectWillChange, defaults_->boolForKey(settings_key::reverseHorizontal)),
      treatContinuousWithoutPhaseAsMouse_(
          objectWillChange, defaults_->boolForKey(settings_key::treatContinuousWithoutPhaseAsMouse)) {}

void AppSettings::write(Published<bool>& property, const std::string& key, bool value) {
  property.set(value);
  defaults_->setBool(property.get(), key);
}

void AppSettings::setIsEnabled(bool value) { write(isEnabled_, settings_key::isEnabled, value); }
void AppSettings::setReverseVertical(bool value) {
  write(reverseVertical_, settings_key::reverseVertical, value);
}
void AppSettings::setReverseHorizontal(bool value) {
  write(reverseHorizontal_, settings_key::reverseHorizontal, value);
}
void AppSettings::setTreatContinuousWithoutPhaseAsMouse(bool value) {
  write(treatContinuousWithoutPhaseAsMouse_, settings_key::treatContinuousWithoutPhaseAsMouse, value);
}

}  // namespace wheelright
