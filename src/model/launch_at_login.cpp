#include "model/app_model.h"
#include "model/system_probes.h"

namespace wheelright {

void AppModel::setLaunchAtLogin(bool requested) {
  launchAtLoginError_ = std::nullopt;
  const Result<> changed = updateLoginItemRegistration(*platform_.system, requested);
  // The switch shows what the system reports after the attempt, not what was asked for.
  launchAtLoginEnabled_ = isLoginItemEnabled(*platform_.system);
  if (!changed) launchAtLoginError_ = changed.error();
}

}  // namespace wheelright
