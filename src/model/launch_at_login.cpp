#include "model/app_model.h"
#include "model/system_probes.h"

namespace wheelright {

void AppModel::setLaunchAtLogin(bool requested) {
  launchAtLoginError_ = std::nullopt;
  const std::optional<PlatformError> failure =
      updateLoginItemRegistration(*platform_.system, requested);
  // The switch shows what the system reports after the attempt, not what was asked for.
  launchAtLoginEnabled_ = isLoginItemEnabled(*platform_.system);
  if (failure) launchAtLoginError_ = failure->localizedDescription;
}

}  // namespace wheelright
