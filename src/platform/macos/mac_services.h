#pragma once
// One factory per macOS service, each defined in its own .mm; makeMacPlatform bundles them.
// Plain C++: nothing Objective-C crosses this header.

#include <memory>
#include <string>

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

std::shared_ptr<EventTapServices> makeMacEventTapServices();
// Over NSUserDefaults standardUserDefaults, taken once for the whole run.
std::shared_ptr<UserDefaults> makeMacStandardUserDefaults();
// Over the suite of that name (NSUserDefaults initWithSuiteName:); null when the system refuses
// the name.
std::shared_ptr<UserDefaults> makeMacUserDefaults(const std::string& suiteName);
std::shared_ptr<SystemServices> makeMacSystemServices();
std::shared_ptr<MainLoop> makeMacMainLoop();
std::shared_ptr<AlertPresenter> makeMacAlertPresenter();
std::shared_ptr<StatusItem> makeMacStatusItem();
std::shared_ptr<WorkspaceEvents> makeMacWorkspaceEvents();
// Over the application's own bundle (NSBundle mainBundle).
std::shared_ptr<Localizer> makeMacLocalizer();
// Over the bundle at that path; null when it is none.
std::shared_ptr<Localizer> makeMacLocalizer(const std::string& bundlePath);
// Over Sparkle's standard updater controller, started, when the main bundle names a feed
// (SUFeedURL) and Sparkle is loaded; null otherwise: the application then offers no updates.
std::shared_ptr<Updater> makeMacUpdater();
// The same controller whatever the bundle says, started or not; null when Sparkle is not loaded.
std::shared_ptr<Updater> makeSparkleUpdater(bool startsUpdater);

}  // namespace wheelright
