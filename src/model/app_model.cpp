#include "model/app_model.h"

#include <utility>

#include "base/scope_exit.h"
#include "base/weak_callback.h"
#include "model/system_probes.h"
#include "model/texts.h"

namespace wheelright {

std::shared_ptr<AppModel> AppModel::create(std::shared_ptr<AppSettings> settings,
                                           Platform platform) {
  std::shared_ptr<AppModel> model(new AppModel(std::move(settings), std::move(platform)));
  model->launch();
  return model;
}

AppModel::AppModel(std::shared_ptr<AppSettings> settings, Platform platform)
    : settings_(std::move(settings)), platform_(std::move(platform)) {}

AppModel::~AppModel() {
  if (permissionTimer_) permissionTimer_->invalidate();
}

bool AppModel::hasPollingTimer() const { return permissionTimer_ && permissionTimer_->isValid(); }

// The launch work needs weak_from_this, so it runs once the model is owned.
void AppModel::launch() {
  isNaturalScrollEnabled_ = readNaturalScrollEnabled(*platform_.system);
  isAccessibilityGranted_ = readAccessibilityTrusted(*platform_.system);
  launchAtLoginEnabled_ = isLoginItemEnabled(*platform_.system);

  refreshStatus();

  const bool isReady = isNaturalScrollEnabled_ && isAccessibilityGranted_;
  const bool hasShownOnboarding =
      settings_->defaults().boolForKey(settings_key::hasShownNaturalScrollOnboarding);
  if (!hasShownOnboarding || (settings_->isEnabled() && !isReady)) {
    // What the checklist lists as missing is not warned about again until seen satisfied.
    didShowDisabledWarningThisSession_ = !isNaturalScrollEnabled_;
    didShowPermissionWarningThisSession_ = isNaturalScrollEnabled_ && !isAccessibilityGranted_;
    postAlert(&AppModel::showOnboardingAlert);
  }

  observeWorkspace();

  const auto tick = weakCallback(weak_from_this(), [](AppModel& model) { model.refreshStatus(); });
  // The loop keeps the timer's action, so the action must not keep the loop.
  permissionTimer_ = platform_.mainLoop->scheduleRepeatingTimer(
      1.5, [tick, loop = std::weak_ptr<MainLoop>(platform_.mainLoop)] {
        if (auto mainLoop = loop.lock()) mainLoop->startMainThreadTask(tick);
      });
}

void AppModel::postAlert(void (AppModel::*show)()) {
  platform_.mainLoop->postToMainQueue(weakCallback(weak_from_this(), [show](AppModel& model) {
    if (model.isSessionActive_) {
      (model.*show)();
    } else {
      model.heldAlerts_.push_back(show);
    }
  }));
}

void AppModel::observeWorkspace() {
  const auto observe = [this](WorkspaceNotification name, void (*body)(AppModel&)) {
    workspaceObservations_.push_back(
        platform_.workspace->addObserver(name, weakCallback(weak_from_this(), body)));
  };
  observe(WorkspaceNotification::didWake, [](AppModel& model) { model.recreateTap(); });
  observe(WorkspaceNotification::sessionDidResignActive,
          [](AppModel& model) { model.isSessionActive_ = false; });
  observe(WorkspaceNotification::sessionDidBecomeActive, [](AppModel& model) {
    model.isSessionActive_ = true;
    model.recreateTap();
    // Posted, not shown here: an alert never runs inside the evaluation that asked for it.
    for (const auto show : std::exchange(model.heldAlerts_, {})) model.postAlert(show);
  });
}

void AppModel::recreateTap() {
  eventTap().stop();
  refreshStatus();
}

ScrollEventTap& AppModel::eventTap() {
  if (!eventTap_) {
    // Holds the model weakly: the model owns the tap.
    eventTap_ = ScrollEventTap::create(
        platform_.eventTaps,
        {.read = [](const void* settings) noexcept {
           return static_cast<const AppSettings*>(settings)->configuration();
         },
         .context = settings_.get(),
         .owner = weak_from_this()});
  }
  return *eventTap_;
}

void AppModel::refreshStatus() {
  const bool wasNatural = isNaturalScrollEnabled_;
  const bool wasTrusted = isAccessibilityGranted_;
  isNaturalScrollEnabled_ = readNaturalScrollEnabled(*platform_.system);
  isAccessibilityGranted_ = readAccessibilityTrusted(*platform_.system);
  // Follows the outcome, whichever way the evaluation ends.
  const ScopeExit hint([this] { updateTrustHint(); });

  if (!settings_->isEnabled()) {
    eventTap().stop();
    status_ = Status::paused();
    return;
  }

  if (!isNaturalScrollEnabled_) {
    eventTap().stop();
    status_ = Status::naturalScrollRequired();
    if (wasNatural && !didShowDisabledWarningThisSession_) {
      didShowDisabledWarningThisSession_ = true;
      postAlert(&AppModel::showDisabledWarning);
    }
    return;
  }

  if (!wasNatural) didShowDisabledWarningThisSession_ = false;

  if (!isAccessibilityGranted_) {
    eventTap().stop();
    status_ = Status::permissionRequired();
    // Warn when trust was lost, or when natural scrolling just came on with trust still missing.
    if ((wasTrusted || !wasNatural) && !didShowPermissionWarningThisSession_) {
      didShowPermissionWarningThisSession_ = true;
      postAlert(&AppModel::showPermissionWarning);
    }
    return;
  }

  if (!wasTrusted) didShowPermissionWarningThisSession_ = false;
  ScrollEventTap& tap = eventTap();
  if (!tap.isRunning() && !tap.start()) {
    // Starting fails only when the tap cannot be created.
    status_ = Status::error(localized(*platform_.localizer, Text::errorCouldNotCreateTap));
    return;
  }
  status_ = Status::active();
}

void AppModel::setEnabled(bool enabled) {
  settings_->setIsEnabled(enabled);
  refreshStatus();
}

void AppModel::requestAccessibilityPermission() {
  promptForAccessibilityTrust(*platform_.system);
  openAccessibilitySettings(*platform_.system);
  noteAccessibilityPaneOpened();
  refreshStatus();
}

void AppModel::noteAccessibilityPaneOpened() {
  accessibilityPaneOpenedAt_ = platform_.mainLoop->now();
}

void AppModel::updateTrustHint() {
  // Long enough for the user to have found the switch in the list and turned it on.
  constexpr double secondsToWait = 20;
  const bool isRefusedWhileTrusted = status_.get().kind == Status::Case::error;
  if (isAccessibilityGranted_ && !isRefusedWhileTrusted) accessibilityPaneOpenedAt_.reset();
  const bool hasWaitedInVain =
      accessibilityPaneOpenedAt_ &&
      platform_.mainLoop->now() - *accessibilityPaneOpenedAt_ >= secondsToWait;
  const bool shows = isRefusedWhileTrusted || hasWaitedInVain;
  // Announced only when it changes: every poll announces enough already.
  if (showsTrustHint_ != shows) showsTrustHint_ = shows;
}

}  // namespace wheelright
