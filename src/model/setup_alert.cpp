#include <string>
#include <vector>

#include "base/scope_exit.h"
#include "model/app_model.h"
#include "model/system_probes.h"

namespace wheelright {
namespace {

// The checklist's texts, shown as they stand.
constexpr const char* checklistIntro =
    "Wheelright이 동작하려면 아래 두 항목이 모두 필요합니다.\n\n1. 자연스러운 스크롤 켜기  ";
constexpr const char* checklistSecondItem = "\n2. 손쉬운 사용 권한 허용  ";
constexpr const char* checklistOutro = "\n\n두 항목을 완료하면 Wheelright이 자동으로 시작됩니다.";
constexpr const char* markerDone = "✅ 완료";
constexpr const char* markerMissing = "⚠️ 설정 필요";
constexpr const char* checklistSymbol = "checklist";
constexpr const char* checklistSymbolDescription = "Wheelright 설정 체크리스트";
constexpr const char* openNaturalScrollButton = "1번 스크롤 설정 열기";
constexpr const char* openAccessibilityButton = "2번 손쉬운 사용 설정 열기";
constexpr const char* doneButton = "완료";
constexpr const char* laterButton = "나중에";

constexpr const char* onboardingTitle = "Wheelright 사용 준비";
constexpr const char* disabledWarningTitle = "Wheelright 설정을 확인해 주세요";
constexpr const char* permissionWarningTitle = "손쉬운 사용 권한이 필요합니다";

}  // namespace

void AppModel::showOnboardingAlert() { showSetupAlert(onboardingTitle); }
void AppModel::showDisabledWarning() { showSetupAlert(disabledWarningTitle); }
void AppModel::showPermissionWarning() { showSetupAlert(permissionWarningTitle); }

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

  AlertContent alert;
  alert.style = natural && trusted ? AlertStyle::informational : AlertStyle::warning;
  alert.messageText = title;
  alert.informativeText = std::string(checklistIntro) + (natural ? markerDone : markerMissing) +
                          checklistSecondItem + (trusted ? markerDone : markerMissing) +
                          checklistOutro;
  alert.iconSymbolName = checklistSymbol;
  alert.iconAccessibilityDescription = checklistSymbolDescription;

  std::vector<SetupAction> actions;
  if (!natural) {
    alert.buttonTitles.emplace_back(openNaturalScrollButton);
    actions.push_back(SetupAction::openNaturalScroll);
  }
  if (!trusted) {
    alert.buttonTitles.emplace_back(openAccessibilityButton);
    actions.push_back(SetupAction::openAccessibility);
  }
  alert.buttonTitles.emplace_back(natural && trusted ? doneButton : laterButton);
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
      refreshStatus();
      break;
    case SetupAction::dismiss:
      break;
  }
}

}  // namespace wheelright
