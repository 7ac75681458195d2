#include "menubar/menu_content.h"

#include <cstddef>
#include <utility>

#include "menubar/status_look.h"
#include "model/system_probes.h"

namespace wheelright {

std::string statusTitle(const AppModel::Status& status, const Localizer& localizer) {
  return localized(localizer, statusLook(status.kind).title);
}

std::vector<MenuEntry> menuEntries(const MenuValues& values, const MenuOperations& operations,
                                   const Localizer& localizer) {
  using Case = AppModel::Status::Case;
  const auto text = [&localizer](Text name) { return localized(localizer, name); };
  const Case status = values.status.kind;
  std::vector<MenuEntry> entries;
  entries.reserve(16);

  const std::string title = statusTitle(values.status, localizer);
  entries.emplace_back(MenuText{status == Case::permissionRequired
                                    ? localized(localizer, Text::statusWarningLine, {title})
                                    : title});
  if (status == Case::error) entries.emplace_back(MenuText{values.status.message});
  if (values.showsTrustHint) entries.emplace_back(MenuText{text(Text::trustHint)});
  entries.emplace_back(MenuSeparator{});

  if (status == Case::naturalScrollRequired) {
    entries.emplace_back(MenuText{text(Text::menuNaturalScrollOff)});
    entries.emplace_back(
        MenuAction{text(Text::menuOpenTrackpadSettings), operations.openNaturalScrollSettings, {}});
    entries.emplace_back(MenuSeparator{});
  }

  for (std::size_t i = 0; i < values.switches.size(); ++i) {
    const ScrollSwitch* which = &scrollSwitches[i];
    std::function<void(bool)> set;
    if (operations.setSwitch) {
      set = [setSwitch = operations.setSwitch, which](bool value) { setSwitch(*which, value); };
    }
    entries.emplace_back(
        MenuSwitch{localized(localizer, which->textKey), values.switches[i], std::move(set)});
  }

  if (status == Case::permissionRequired) {
    entries.emplace_back(MenuSeparator{});
    entries.emplace_back(MenuAction{
        text(Text::menuAllowAccessibility), operations.requestAccessibilityPermission, {}});
  }

  entries.emplace_back(MenuSeparator{});
  entries.emplace_back(MenuSwitch{text(Text::menuLaunchAtLogin), values.launchAtLoginEnabled,
                                  operations.setLaunchAtLogin});
  // An action with nothing to run is shown disabled.
  if (values.canCheckForUpdates) {
    entries.emplace_back(MenuAction{
        text(Text::menuCheckForUpdates),
        *values.canCheckForUpdates ? operations.checkForUpdates : std::function<void()>{},
        {}});
  }
  entries.emplace_back(MenuSeparator{});
  entries.emplace_back(MenuAction{text(Text::menuQuit), operations.quitApplication,
                                  KeyEquivalent{'q', KeyModifier::command}});
  return entries;
}

MenuBarContentView::MenuBarContentView(const std::shared_ptr<AppModel>& model,
                                       const std::shared_ptr<AppSettings>& settings,
                                       std::shared_ptr<SystemServices> system,
                                       std::shared_ptr<Localizer> localizer,
                                       std::shared_ptr<Updater> updater)
    : model_(model),
      settings_(settings),
      system_(std::move(system)),
      localizer_(std::move(localizer)),
      updater_(std::move(updater)) {}

std::optional<MenuValues> MenuBarContentView::values() const {
  const auto model = model_.lock();
  const auto settings = settings_.lock();
  if (!model || !settings) return std::nullopt;
  MenuValues values{model->status(), model->launchAtLoginEnabled()};
  for (std::size_t i = 0; i < values.switches.size(); ++i) {
    values.switches[i] = settings->isOn(scrollSwitches[i]);
  }
  values.showsTrustHint = model->showsTrustHint();
  if (updater_) values.canCheckForUpdates = updater_->canCheckForUpdates();
  return values;
}

std::vector<MenuEntry> MenuBarContentView::entries() const {
  const std::optional<MenuValues> values = this->values();
  if (!values) return {};

  // The entries may outlive this build (a platform menu keeps them until the next one), so they
  // hold the model and settings weakly.
  const std::weak_ptr<AppModel> weakModel = model_;
  const std::weak_ptr<AppSettings> weakSettings = settings_;
  const auto onModel = [weakModel](auto body) {
    return [weakModel, body](auto... args) {
      if (auto m = weakModel.lock()) body(*m, args...);
    };
  };
  const std::shared_ptr<SystemServices> system = system_;

  MenuOperations operations{
      .setSwitch =
          [weakModel, weakSettings](const ScrollSwitch& which, bool value) {
            // isEnabled goes through the model, which re-evaluates its status at once; the
            // others reach the tap with its next event.
            if (which.field == nullptr) {
              if (auto m = weakModel.lock()) m->setEnabled(value);
            } else if (auto s = weakSettings.lock()) {
              s->set(which, value);
            }
          },
      .setLaunchAtLogin = onModel([](AppModel& m, bool value) { m.setLaunchAtLogin(value); }),
      .openNaturalScrollSettings = [system] { openNaturalScrollSettings(*system); },
      .requestAccessibilityPermission =
          onModel([](AppModel& m) { m.requestAccessibilityPermission(); }),
      .quitApplication = [system] { quitApplication(*system); },
      .checkForUpdates =
          [updater = updater_] {
            if (updater) updater->checkForUpdates();
          },
  };
  return menuEntries(*values, operations, *localizer_);
}

}  // namespace wheelright
