#pragma once
// One bundle of every operating-system service that the application uses. Each platform builds
// it through one factory of its own; the application is assembled from it in one place.

#include <memory>

#include "platform/alert_presenter.h"
#include "platform/event_tap_services.h"
#include "platform/localizer.h"
#include "platform/main_loop.h"
#include "platform/status_item.h"
#include "platform/system_services.h"
#include "platform/updater.h"
#include "platform/user_defaults.h"
#include "platform/workspace_events.h"

namespace wheelright {

struct Platform {
  std::shared_ptr<EventTapServices> eventTaps;
  std::shared_ptr<UserDefaults> standardUserDefaults;
  std::shared_ptr<SystemServices> system;
  std::shared_ptr<MainLoop> mainLoop;
  std::shared_ptr<AlertPresenter> alerts;
  std::shared_ptr<StatusItem> statusItem;
  std::shared_ptr<Localizer> localizer;
  std::shared_ptr<WorkspaceEvents> workspace;
  // Null where the application offers no updates (no feed configured, or no updater).
  std::shared_ptr<Updater> updater;
};

}  // namespace wheelright
