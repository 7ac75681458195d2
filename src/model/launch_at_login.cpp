#include "model/app_model.h"
#include "model/system_probes.h"

namespace wheelright {

void AppModel::setLaunchAtLogin(bool requested) {
  launchAtLoginError_ = std::nullopt;
  const Result<> changed = updateLoginItemRegistration(*platform_.system, requested);
  // The switch shows what the system reports after the attempt, not what was asked for.
  const LoginItemStatus after = platform_.system->mainAppServiceStatus();
  launchAtLoginEnabled_ = after == LoginItemStatus::enabled;
  if (changed) return;
  launchAtLoginError_ = changed.error();
  // A login item that the user has switched off in System Settings can only be switched on
  // there: take them to it rather than fail without a word.
  const bool deniedByUser = changed.code() == loginItemDeniedByUserCode;
  if (requested && (deniedByUser || after == LoginItemStatus::requiresApproval)) {
    platform_.system->openSystemSettingsLoginItems();
  }
}

}  // namespace wheelright
