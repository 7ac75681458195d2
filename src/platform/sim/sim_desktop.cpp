#include "platform/sim/sim_desktop.h"

#include <cassert>
#include <map>
#include <utility>

namespace wheelright::sim {

class SimDesktop::LoggedUserDefaults final : public UserDefaults {
 public:
  explicit LoggedUserDefaults(SimDesktop& desktop) : desktop_(desktop) {}

  void registerDefaults(const std::map<std::string, bool>& defaults) override {
    std::string line = "registerDefaults";
    for (const auto& [key, value] : defaults) line += " " + key + (value ? "=true" : "=false");
    desktop_.log_.call(std::move(line));
    desktop_.store_->registerDefaults(defaults);
  }
  bool boolForKey(const std::string& key) const override {
    desktop_.log_.call("boolForKey " + key);
    return desktop_.store_->boolForKey(key);
  }
  void setBool(bool value, const std::string& key) override {
    desktop_.log_.call("setBool " + key + (value ? "=true" : "=false"));
    desktop_.store_->setBool(value, key);
  }

 private:
  SimDesktop& desktop_;  // the store behind is replaced when the application launches anew
};

std::shared_ptr<SimDesktop> SimDesktop::create() {
  Result<std::shared_ptr<SimDesktop>> desktop = create(Options{});
  assert(desktop.ok());
  return std::move(desktop.value());
}

Result<std::shared_ptr<SimDesktop>> SimDesktop::create(Options options) {
  Result<SimLocalizer> localizer =
      SimLocalizer::open(options.localizationDirectory.value_or(WHEELRIGHT_LOCALIZATION_DIR),
                         options.preferredLanguage);
  if (!localizer) return Error{localizer.error()};
  return std::shared_ptr<SimDesktop>(
      new SimDesktop(std::move(options), std::move(localizer.value())));
}

SimDesktop::SimDesktop(Options options, SimLocalizer localizer)
    : options_(std::move(options)),
      runLoop_(log_, options_.clock),
      system_(log_),
      eventTaps_(log_, runLoop_, system_),
      alerts_(log_, runLoop_),
      statusItem_(log_),
      workspace_(log_),
      localizer_(std::move(localizer)),
      updater_(log_),
      userDefaults_(std::make_unique<LoggedUserDefaults>(*this)) {
  // NSApplication terminate: ends the process at once: no queued job, timer or later input runs,
  // and nothing more appears.
  system_.setTerminationHandler([this] {
    runLoop_.stop();
    log_.close();
  });
  reopenUserDefaults();
}

UserDefaults& SimDesktop::userDefaults() { return *userDefaults_; }

void SimDesktop::reopenUserDefaults() {
  if (store_) {
    store_->relaunch();
  } else if (options_.defaultsDirectory) {
    store_ = std::make_unique<FileUserDefaults>(*options_.defaultsDirectory,
                                                options_.tellSettingsFallback);
  } else {
    store_ = std::make_unique<MemoryUserDefaults>();
  }
}

Platform SimDesktop::platform() {
  const std::shared_ptr<SimDesktop> self = shared_from_this();
  return Platform{
      .eventTaps = std::shared_ptr<EventTapServices>(self, &eventTaps_),
      .standardUserDefaults = std::shared_ptr<UserDefaults>(self, userDefaults_.get()),
      .system = std::shared_ptr<SystemServices>(self, &system_),
      .mainLoop = std::shared_ptr<MainLoop>(self, &runLoop_),
      .alerts = std::shared_ptr<AlertPresenter>(self, &alerts_),
      .statusItem = std::shared_ptr<StatusItem>(self, &statusItem_),
      .localizer = std::shared_ptr<Localizer>(self, &localizer_),
      .workspace = std::shared_ptr<WorkspaceEvents>(self, &workspace_),
      .updater = offersUpdates_ ? std::shared_ptr<Updater>(self, &updater_) : nullptr,
  };
}

void SimDesktop::wake() {
  runLoop_.setAsleep(false);
  workspace_.post(WorkspaceNotification::didWake);
}

}  // namespace wheelright::sim
