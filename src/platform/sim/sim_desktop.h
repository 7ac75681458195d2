#pragma once
// The simulated desktop: every operating-system service of the application, in process, with one
// ordered log of the platform calls made to it and the lines a person would see. The platform
// bundle handed to the application shares ownership of the whole desktop.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/result.h"
#include "platform/platform.h"
#include "platform/sim/desktop_log.h"
#include "platform/sim/file_user_defaults.h"
#include "platform/sim/sim_alert_presenter.h"
#include "platform/sim/sim_event.h"
#include "platform/sim/sim_event_taps.h"
#include "platform/sim/sim_localizer.h"
#include "platform/sim/sim_run_loop.h"
#include "platform/sim/sim_status_item.h"
#include "platform/sim/sim_system.h"
#include "platform/sim/sim_workspace_events.h"
#include "platform/sim/sim_updater.h"

namespace wheelright::sim {

class SimDesktop : public std::enable_shared_from_this<SimDesktop> {
 public:
  struct Options {
    SimRunLoop::Clock clock = SimRunLoop::Clock::manual;
    // The user's preferred language, a code such as "ko", "en" or "pt-BR".
    std::string preferredLanguage = "ko";
    // The folder of the <language>.lproj tables; none: the source tree's, as the build found it.
    std::optional<std::filesystem::path> localizationDirectory{};
    // The folder of the user defaults file; none keeps the user defaults in memory.
    std::optional<std::filesystem::path> defaultsDirectory{};
    // Takes the file store's lines about what it fell back on.
    FileUserDefaults::Tell tellSettingsFallback{};
  };

  // A new desktop: natural scrolling stored as true, the process untrusted, no login item,
  // URLs opened, taps created when trusted, the clock at 0. Fails when the table of texts
  // chosen for the preferred language cannot be read.
  static Result<std::shared_ptr<SimDesktop>> create(Options options);
  // With the default options, whose tables are the source tree's own.
  static std::shared_ptr<SimDesktop> create();
  SimDesktop(const SimDesktop&) = delete;
  SimDesktop& operator=(const SimDesktop&) = delete;

  // The bundle for WheelrightApp::create; each service keeps the desktop alive.
  Platform platform();

  DesktopLog& log() { return log_; }
  SimRunLoop& runLoop() { return runLoop_; }
  SimEventTaps& eventTaps() { return eventTaps_; }
  SimSystem& system() { return system_; }
  SimAlertPresenter& alerts() { return alerts_; }
  SimStatusItem& statusItem() { return statusItem_; }
  SimWorkspaceEvents& workspace() { return workspace_; }
  SimUpdater& updater() { return updater_; }
  // Whether the next launch finds an updater (a feed is configured); at first it does.
  void setOffersUpdates(bool offers) { offersUpdates_ = offers; }
  const SimLocalizer& localizer() const { return localizer_; }
  // What the application talks to; its calls are logged.
  UserDefaults& userDefaults();
  // The store behind it.
  SimUserDefaults& userDefaultsStore() { return *store_; }
  // As a new launch of the application finds the store: the stored values read again, no
  // registered defaults.
  void reopenUserDefaults();

  // The Mac sleeps: no timer fires until it wakes; time still passes.
  void sleep() { runLoop_.setAsleep(true); }
  // The workspace posts its wake notification; timers that fell due meanwhile then fire once.
  void wake();

  // Shortcuts for tests.
  const std::vector<std::string>& calls() const { return log_.calls(); }
  const std::vector<std::string>& output() const { return log_.output(); }
  std::optional<SimEvent> inject(const SimEvent& event) { return eventTaps_.inject(event); }
  void runPending() { runLoop_.runPending(); }
  void advance(double seconds) { runLoop_.advance(seconds); }

 private:
  class LoggedUserDefaults;

  SimDesktop(Options options, SimLocalizer localizer);

  const Options options_;
  DesktopLog log_;
  SimRunLoop runLoop_;
  SimSystem system_;
  SimEventTaps eventTaps_;
  SimAlertPresenter alerts_;
  SimStatusItem statusItem_;
  SimWorkspaceEvents workspace_;
  SimLocalizer localizer_;
  SimUpdater updater_;
  bool offersUpdates_ = true;
  std::unique_ptr<SimUserDefaults> store_;
  std::unique_ptr<LoggedUserDefaults> userDefaults_;
};

}  // namespace wheelright::sim
