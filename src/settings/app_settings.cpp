#include "settings/app_settings.h"

#include <map>
#include <utility>

namespace wheelright {
namespace {

std::shared_ptr<UserDefaults> registered(std::shared_ptr<UserDefaults> defaults) {
  std::map<std::string, bool> fresh{{settings_key::hasShownNaturalScrollOnboarding, false}};
  for (const ScrollSwitch& which : scrollSwitches) fresh.emplace(which.key, which.isOnAtFirst);
  defaults->registerDefaults(fresh);
  return defaults;
}

ScrollConfiguration loaded(const UserDefaults& defaults) {
  ScrollConfiguration config;
  for (const ScrollSwitch& which : scrollSwitches) {
    if (which.field != nullptr) config.*which.field = defaults.boolForKey(std::string(which.key));
  }
  return config;
}

}  // namespace

// Members initialise in declaration order: the store is kept and its defaults registered before
// the switches are read.
AppSettings::AppSettings(std::shared_ptr<UserDefaults> defaults)
    : defaults_(registered(std::move(defaults))),
      isEnabled_(objectWillChange, defaults_->boolForKey(std::string(enabledSwitch.key))),
      configuration_(objectWillChange, loaded(*defaults_)) {}

bool AppSettings::isOn(const ScrollSwitch& which) const {
  return which.field == nullptr ? isEnabled_.get() : configuration_.get().*which.field;
}

void AppSettings::set(const ScrollSwitch& which, bool value) {
  if (which.field == nullptr) {
    isEnabled_.set(value);
  } else {
    ScrollConfiguration changed = configuration_;
    changed.*which.field = value;
    configuration_.set(changed);
  }
  defaults_->setBool(value, std::string(which.key));
}

}  // namespace wheelright
