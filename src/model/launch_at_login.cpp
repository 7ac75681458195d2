#include "model/app_model.h"
#include "model/system_probes.h"

namespace wheelright {

void AppModel::setLaunchAtLogin(bool requested) {
  launchAtLoginError_ = std::nullopt;
  const std::optional<PlatformError> failure =
      updateLoginItemRegistration(*platform_.system, requested);
  // The switch shows what the system reports after the attempt, not what was asked for.
  const LoginItemStatus after = platform_.system->mainAppServiceStatus();
  launchAtLoginEnabled_ = after == LoginItemStatus::enabled;
  if (!failure) return;
  launchAtLoginError_ = failure->localizedDescription;
  // A login item that the user has switched off in System Settings can only be switched on
  // there: take them to it rather than fail without a word.
  if (requested && (failure->isDeniedByUser || after == LoginItemStatus::requiresApproval)) {
    platform_.system->openSystemSettingsLoginItems();
  }
}

}  // namespace wheelright
