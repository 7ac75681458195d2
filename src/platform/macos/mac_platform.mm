#include "platform/macos/mac_platform.h"

#include "platform/macos/mac_services.h"

namespace wheelright {

Platform makeMacPlatform() {
  return Platform{
      .eventTaps = makeMacEventTapServices(),
      .standardUserDefaults = makeMacStandardUserDefaults(),
      .system = makeMacSystemServices(),
      .mainLoop = makeMacMainLoop(),
      .alerts = makeMacAlertPresenter(),
      .statusItem = makeMacStatusItem(),
      .localizer = makeMacLocalizer(),
      .workspace = makeMacWorkspaceEvents(),
      .updater = makeMacUpdater(),
  };
}

}  // namespace wheelright
