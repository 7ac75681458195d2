#pragma once
// The application's one observable model: the status derived from the on/off switch and the two
// system conditions, the event tap it starts and stops by that status, 1.5-second polling, the
// setup alerts and the login item. Shared-owned; deferred work holds it weakly. Main thread only.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/observable.h"
#include "platform/platform.h"
#include "scroll/scroll_event_tap.h"
#include "settings/app_settings.h"

namespace wheelright {

class AppModel : public std::enable_shared_from_this<AppModel> {
 public:
  // Whether mouse-wheel reversal works and, if not, what is missing.
  struct Status {
    enum class Case { error, active, paused, naturalScrollRequired, permissionRequired };
    Case kind = Case::paused;
    std::string message;  // the failure text of error; empty otherwise

    static Status error(std::string text) { return {Case::error, std::move(text)}; }
    static Status active() { return {Case::active, {}}; }
    static Status paused() { return {Case::paused, {}}; }
    static Status naturalScrollRequired() { return {Case::naturalScrollRequired, {}}; }
    static Status permissionRequired() { return {Case::permissionRequired, {}}; }
    friend bool operator==(const Status&, const Status&) = default;
  };

  // What a setup alert's button leads to.
  enum class SetupAction { openNaturalScroll, openAccessibility, dismiss };

  // Reads the probes, evaluates the status (creating the tap), decides on the onboarding alert
  // and starts the polling timer.
  static std::shared_ptr<AppModel> create(std::shared_ptr<AppSettings> settings, Platform platform);
  // Invalidates the polling timer; the tap stops as it is destroyed.
  ~AppModel();
  AppModel(const AppModel&) = delete;
  AppModel& operator=(const AppModel&) = delete;

  ObjectWillChange objectWillChange;

  AppSettings& settings() const { return *settings_; }
  const std::shared_ptr<AppSettings>& sharedSettings() const { return settings_; }
  const Status& status() const { return status_; }
  bool launchAtLoginEnabled() const { return launchAtLoginEnabled_; }
  const std::optional<std::string>& launchAtLoginError() const { return launchAtLoginError_; }
  bool isNaturalScrollEnabled() const { return isNaturalScrollEnabled_; }
  bool isAccessibilityGranted() const { return isAccessibilityGranted_; }
  // Trust is listed in System Settings but not honoured: the Accessibility pane was opened from
  // here long enough ago and trust is still missing, or the tap is refused although trusted.
  bool showsTrustHint() const { return showsTrustHint_; }
  bool hasPollingTimer() const;

  // Re-reads both probes and derives the status; starts or stops the tap; may post a warning.
  void refreshStatus();
  // Stores the master switch, then re-evaluates at once.
  void setEnabled(bool enabled);
  // The model's tap, created on first access with a provider that holds the model weakly.
  ScrollEventTap& eventTap();
  // Trust prompt, the Accessibility pane, then a re-evaluation.
  void requestAccessibilityPermission();
  // Registers or unregisters the login item; the switch then shows the state read back.
  void setLaunchAtLogin(bool requested);

  // The checklist alert with the given title; returns once it has been handled or dropped.
  void showSetupAlert(const std::string& title);
  void showOnboardingAlert();
  // The warning that natural scrolling was turned off.
  void showDisabledWarning();
  void showPermissionWarning();

 private:
  AppModel(std::shared_ptr<AppSettings> settings, Platform platform);
  void launch();
  void postAlert(void (AppModel::*show)());
  void perform(SetupAction action);
  void observeWorkspace();
  // After sleep or a session switch the old tap may be disabled or silently starved, whatever it
  // reports: a new one is made and the status evaluated at once.
  void recreateTap();
  void noteAccessibilityPaneOpened();
  void updateTrustHint();

  std::shared_ptr<AppSettings> settings_;
  Published<Status> status_{objectWillChange, Status::paused()};
  Published<bool> launchAtLoginEnabled_{objectWillChange, false};
  Published<std::optional<std::string>> launchAtLoginError_{objectWillChange, std::nullopt};
  Published<bool> isNaturalScrollEnabled_{objectWillChange, false};
  Published<bool> isAccessibilityGranted_{objectWillChange, false};
  Published<bool> showsTrustHint_{objectWillChange, false};
  // Polls both conditions, natural scrolling as well as trust.
  std::unique_ptr<RepeatingTimer> permissionTimer_;
  // Set while the natural-scrolling warning (shown by showDisabledWarning) has been shown and
  // natural scrolling not yet seen on again.
  bool didShowDisabledWarningThisSession_ = false;
  bool didShowPermissionWarningThisSession_ = false;
  bool isShowingSetupAlert_ = false;
  std::shared_ptr<ScrollEventTap> eventTap_;
  // When the Accessibility pane was last opened from here, on the main loop's clock; cleared
  // once trust is seen honoured.
  std::optional<double> accessibilityPaneOpenedAt_;
  // While the user's session is switched away nothing is shown; alerts that fall due meanwhile
  // wait here for its return.
  bool isSessionActive_ = true;
  std::vector<void (AppModel::*)()> heldAlerts_;
  std::vector<std::unique_ptr<WorkspaceObservation>> workspaceObservations_;

  const Platform platform_;
};

}  // namespace wheelright
