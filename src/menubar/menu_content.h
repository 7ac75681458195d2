#pragma once
// The pull-down menu: a pure function from the values it shows to an ordered list of entries, and
// the view that builds it from the model and its settings.

#include <array>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/app_model.h"
#include "model/texts.h"
#include "platform/localizer.h"
#include "platform/menu_entry.h"
#include "platform/updater.h"

namespace wheelright {

// The status line's text in the user's language; the error payload does not enter it.
std::string statusTitle(const AppModel::Status& status, const Localizer& localizer);

// The values that the menu reads.
struct MenuValues {
  AppModel::Status status;
  bool launchAtLoginEnabled = false;
  std::array<bool, std::size(scrollSwitches)> switches{};  // in the order of scrollSwitches
  bool showsTrustHint = false;
  // Whether the user can start an update check now; none: the application offers no updates.
  std::optional<bool> canCheckForUpdates{};
  friend bool operator==(const MenuValues&, const MenuValues&) = default;
};

// Where the entries write back and what they run.
struct MenuOperations {
  std::function<void(const ScrollSwitch&, bool)> setSwitch;
  std::function<void(bool)> setLaunchAtLogin;
  std::function<void()> openNaturalScrollSettings;
  std::function<void()> requestAccessibilityPermission;
  std::function<void()> quitApplication;
  std::function<void()> checkForUpdates;
};

// The labels in the user's language.
std::vector<MenuEntry> menuEntries(const MenuValues& values, const MenuOperations& operations,
                                   const Localizer& localizer);

// The menu's content over the model and that model's own settings object. Holds both weakly:
// the application owns the model, the model owns the settings. Called a view after the menu-bar
// scene's content that it stands for, though it only builds entries and draws nothing.
class MenuBarContentView {
 public:
  MenuBarContentView(const std::shared_ptr<AppModel>& model,
                     const std::shared_ptr<AppSettings>& settings,
                     std::shared_ptr<SystemServices> system, std::shared_ptr<Localizer> localizer,
                     std::shared_ptr<Updater> updater = nullptr);
  // Built afresh from current values; empty once the model is gone.
  std::vector<MenuEntry> entries() const;
  // What the entries are built from; none once the model is gone.
  std::optional<MenuValues> values() const;
  const std::weak_ptr<AppSettings>& settings() const { return settings_; }

 private:
  std::weak_ptr<AppModel> model_;
  std::weak_ptr<AppSettings> settings_;
  std::shared_ptr<SystemServices> system_;
  std::shared_ptr<Localizer> localizer_;
  std::shared_ptr<Updater> updater_;
};

}  // namespace wheelright
