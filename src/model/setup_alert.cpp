#include <string>
#include <vector>

#include "base/scope_exit.h"
#include "model/app_model.h"
#include "model/system_probes.h"
#include "model/texts.h"

namespace wheelright {

void AppModel::showOnboardingAlert() {
  showSetupAlert(localized(*platform_.localizer, Text::alertOnboardingTitle));
}
void AppModel::showDisabledWarning() {
  showSetupAlert(localized(*platform_.localizer, Text::alertNaturalScrollOffTitle));
}
void AppModel::showPermissionWarning() {
  showSetupAlert(localized(*platform_.localizer, Text::alertPermissionTitle));
}

void AppModel::showSetupAlert(const std::string& title) {
  settings_->defaults().setBool(true, settings_key::hasShownNaturalScrollOnboarding);
  if (isShowingSetupAlert_) return;  // one alert at a time; the request is dropped, not queued
  isShowingSetupAlert_ = true;
  // Cleared however the alert's job ends, or one failure would drop every later alert.
  const ScopeExit clearGuard([this] { isShowingSetupAlert_ = false; });

  isNaturalScrollEnabled_ = readNaturalScrollEnabled(*platform_.system);
  isAccessibilityGranted_ = readAccessibilityTrusted(*platform_.system);
  const bool natural = isNaturalScrollEnabled_;
  const bool trusted = isAccessibilityGranted_;

  const Localizer& localizer = *platform_.localizer;
  const auto text = [&localizer](Text name) { return localized(localizer, name); };
  const auto marker = [&text](bool isDone) {
    return text(isDone ? Text::alertItemDone : Text::alertItemMissing);
  };
  AlertContent alert;
  alert.style = natural && trusted ? AlertStyle::informational : AlertStyle::warning;
  alert.messageText = title;
  std::string trustItem = marker(trusted);
  if (showsTrustHint_) trustItem += "\n" + text(Text::trustHint);
  alert.informativeText = localized(localizer, Text::alertChecklist, {marker(natural), trustItem});
  alert.iconSymbolName = "checklist";
  alert.iconAccessibilityDescription = text(Text::alertChecklistIcon);

  std::vector<SetupAction> actions;
  if (!natural) {
    alert.buttonTitles.push_back(text(Text::alertOpenTrackpadButton));
    actions.push_back(SetupAction::openNaturalScroll);
  }
  if (!trusted) {
    alert.buttonTitles.push_back(text(Text::alertOpenAccessibilityButton));
    actions.push_back(SetupAction::openAccessibility);
  }
  alert.buttonTitles.push_back(
      text(natural && trusted ? Text::alertDoneButton : Text::alertLaterButton));
  actions.push_back(SetupAction::dismiss);

  platform_.alerts->activateIgnoringOtherApps();
  const long response = platform_.alerts->runModal(alert);
  // Compared before subtracting: any response below the first button, the most negative
  // included, carries out nothing and cannot overflow.
  if (response < alertFirstButtonReturn) return;
  const auto index = static_cast<unsigned long>(response - alertFirstButtonReturn);
  if (index < actions.size()) perform(actions[index]);
}

void AppModel::perform(SetupAction action) {
  switch (action) {
    case SetupAction::openNaturalScroll:
      // The polling notices when the user has switched it on.
      openNaturalScrollSettings(*platform_.system);
      break;
    case SetupAction::openAccessibility:
      promptForAccessibilityTrust(*platform_.system);
      openAccessibilitySettings(*platform_.system);
      noteAccessibilityPaneOpened();
      refreshStatus();
      break;
    case SetupAction::dismiss:
      break;
  }
}

}  // namespace wheelright
