#pragma once
// Purpose-built fakes of every platform interface. All of them write to one ordered call log so
// that a test can assert the order of platform calls across services.

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace wheelright::testing {

using CallLog = std::vector<std::string>;

// A scroll event as a plain struct: integer and double fields by id, with every access logged
// when a log is attached.
struct FakeEvent {
  std::map<EventField, std::int64_t> integers;
  std::map<EventField, double> doubles;
  std::vector<std::string>* accessLog = nullptr;

  std::int64_t integerValue(EventField id) {
    if (accessLog) accessLog->push_back("getInt " + std::to_string(id));
    return integers[id];
  }
  double doubleValue(EventField id) {
    if (accessLog) accessLog->push_back("getDouble " + std::to_string(id));
    return doubles[id];
  }
  void setIntegerValue(EventField id, std::int64_t v) {
    if (accessLog) accessLog->push_back("setInt " + std::to_string(id));
    integers[id] = v;
  }
  void setDoubleValue(EventField id, double v) {
    if (accessLog) accessLog->push_back("setDouble " + std::to_string(id));
    doubles[id] = v;
  }
};

class FakeEventTaps final : public EventTapServices {
 public:
  explicit FakeEventTaps(CallLog& log) : log_(log) {}

  struct Port {
    EventTapCallback callback = nullptr;
    void* userInfo = nullptr;
    bool enabled = false;
    bool invalidated = false;
    int references = 1;
  };
  struct Source {
    MachPortRef port = nullptr;
    bool attached = false;
    int references = 1;
  };

  bool failTapCreate = false;
  bool failSourceCreate = false;
  TapLocation lastLocation{};
  TapPlacement lastPlacement{};
  TapOptions lastOptions{};
  EventMask lastMask = 0;

  MachPortRef tapCreate(TapLocation location, TapPlacement placement, TapOptions options,
                        EventMask mask, EventTapCallback callback, void* userInfo) override {
    log_.push_back("tapCreate");
    lastLocation = location;
    lastPlacement = placement;
    lastOptions = options;
    lastMask = mask;
    if (failTapCreate) return nullptr;
    ports_.push_back(std::make_unique<Port>(Port{callback, userInfo}));
    return reinterpret_cast<MachPortRef>(ports_.back().get());
  }
  RunLoopSourceRef machPortCreateRunLoopSource(MachPortRef port, std::int64_t order) override {
    log_.push_back("createRunLoopSource order=" + std::to_string(order));
    if (failSourceCreate) return nullptr;
    sources_.push_back(std::make_unique<Source>(Source{port}));
    return reinterpret_cast<RunLoopSourceRef>(sources_.back().get());
  }
  RunLoopRef mainRunLoop() override { return reinterpret_cast<RunLoopRef>(&mainLoopTag_); }
  void runLoopAddSource(RunLoopRef loop, RunLoopSourceRef source, RunLoopMode mode) override {
    log_.push_back(std::string("addSource") + modeText(loop, mode));
    asSource(source).attached = true;
  }
  void runLoopRemoveSource(RunLoopRef loop, RunLoopSourceRef source, RunLoopMode mode) override {
    log_.push_back(std::string("removeSource") + modeText(loop, mode));
    asSource(source).attached = false;
  }
  void tapEnable(MachPortRef port, bool enable) noexcept override {
    log_.push_back(enable ? "tapEnable true" : "tapEnable false");
    asPort(port).enabled = enable;
  }
  bool tapIsEnabled(MachPortRef port) override {
    log_.push_back("tapIsEnabled");
    return asPort(port).enabled && !asPort(port).invalidated;
  }
  void machPortInvalidate(MachPortRef port) override {
    log_.push_back("invalidate");
    asPort(port).invalidated = true;
  }
  void release(MachPortRef port) override {
    log_.push_back("release port");
    --asPort(port).references;
  }
  void release(RunLoopSourceRef source) override {
    log_.push_back("release source");
    --asSource(source).references;
  }

  // Events reach the fakes as FakeEvent pointers.
  std::int64_t eventIntegerValue(EventRef e, EventField id) noexcept override { return asEvent(e).integerValue(id); }
  double eventDoubleValue(EventRef e, EventField id) noexcept override { return asEvent(e).doubleValue(id); }
  void eventSetIntegerValue(EventRef e, EventField id, std::int64_t v) noexcept override {
    asEvent(e).setIntegerValue(id, v);
  }
  void eventSetDoubleValue(EventRef e, EventField id, double v) noexcept override { asEvent(e).setDoubleValue(id, v); }

  // The system switches a tap off (as after a slow callback).
  void disable(MachPortRef port) { asPort(port).enabled = false; }
  // Sends an event through the callback of the newest port, as the system would.
  EventRef deliver(EventType type, EventRef event) {
    Port& port = *ports_.back();
    return port.callback(nullptr, type, event, port.userInfo);
  }

  // A live port that the system has enabled: the tap delivers events.
  bool hasRunningTap() const {
    for (const auto& port : ports_) {
      if (port->references > 0 && port->enabled && !port->invalidated) return true;
    }
    return false;
  }

  const std::vector<std::unique_ptr<Port>>& ports() const { return ports_; }
  const std::vector<std::unique_ptr<Source>>& sources() const { return sources_; }
  static Port& asPort(MachPortRef ref) { return *reinterpret_cast<Port*>(ref); }
  static Source& asSource(RunLoopSourceRef ref) { return *reinterpret_cast<Source*>(ref); }
  static FakeEvent& asEvent(EventRef ref) { return *reinterpret_cast<FakeEvent*>(ref); }

 private:
  std::string modeText(RunLoopRef loop, RunLoopMode mode) const {
    std::string text = loop == reinterpret_cast<const void*>(&mainLoopTag_) ? " main" : " other";
    return text + (mode == RunLoopMode::commonModes ? " common" : " default");
  }
  CallLog& log_;
  int mainLoopTag_ = 0;
  std::vector<std::unique_ptr<Port>> ports_;
  std::vector<std::unique_ptr<Source>> sources_;
};

// An in-memory defaults store that tells registered from stored values apart.
class FakeUserDefaults final : public UserDefaults {
 public:
  explicit FakeUserDefaults(CallLog& log) : log_(log) {}
  void registerDefaults(const std::map<std::string, bool>& defaults) override {
    log_.push_back("registerDefaults");
    for (const auto& [key, value] : defaults) registered[key] = value;
  }
  bool boolForKey(const std::string& key) const override {
    log_.push_back("boolForKey " + key);
    if (auto it = stored.find(key); it != stored.end()) return it->second;
    if (auto it = registered.find(key); it != registered.end()) return it->second;
    return false;
  }
  void setBool(bool value, const std::string& key) override {
    log_.push_back("setBool " + key + "=" + (value ? "true" : "false"));
    stored[key] = value;
  }
  std::map<std::string, bool> registered;
  std::map<std::string, bool> stored;

 private:
  CallLog& log_;
};

class FakeSystem final : public SystemServices {
 public:
  explicit FakeSystem(CallLog& log) : log_(log) {}

  PreferenceValue naturalScroll = true;
  bool trusted = false;
  OpenURLResult openAnswer = OpenURLResult::opened;
  LoginItemStatus loginStatus = LoginItemStatus::notRegistered;
  // After a successful register call; the system may leave it waiting for approval.
  LoginItemStatus statusAfterRegister = LoginItemStatus::enabled;
  std::optional<std::string> nextLoginFailure;

  PreferenceValue copyPreferenceValue(const std::string& key, PreferenceApplication, PreferenceUser,
                                      PreferenceHost) override {
    log_.push_back("copyPreference " + key);
    return naturalScroll;
  }
  bool isProcessTrusted() override {
    log_.push_back("isProcessTrusted");
    return trusted;
  }
  bool isProcessTrustedWithOptions(bool prompt) override {
    log_.push_back(prompt ? "trustPrompt" : "trustCheck");
    return trusted;
  }
  OpenURLResult openURL(const std::string& address) override {
    log_.push_back("openURL " + address);
    return openAnswer;
  }
  void openApplication(const std::string& path) override { log_.push_back("openApplication " + path); }
  void terminate() override { log_.push_back("terminate"); }
  bool isAnotherCopyRunning() override { return false; }
  LoginItemStatus mainAppServiceStatus() override {
    log_.push_back("loginStatus");
    return loginStatus;
  }
  std::optional<PlatformError> registerMainAppService() override {
    log_.push_back("register");
    if (auto failure = std::exchange(nextLoginFailure, std::nullopt)) return PlatformError{*failure};
    loginStatus = statusAfterRegister;
    return std::nullopt;
  }
  std::optional<PlatformError> unregisterMainAppService() override {
    log_.push_back("unregister");
    if (auto failure = std::exchange(nextLoginFailure, std::nullopt)) return PlatformError{*failure};
    loginStatus = LoginItemStatus::notRegistered;
    return std::nullopt;
  }

 private:
  CallLog& log_;
};

// A main loop driven by hand: posted jobs and tasks wait in one queue; timers fire on tick().
class FakeMainLoop final : public MainLoop {
 public:
  explicit FakeMainLoop(CallLog& log) : log_(log) {}

  struct Timer {
    double interval = 0;
    std::function<void()> action;
    bool valid = true;
  };
  class Handle final : public RepeatingTimer {
   public:
    explicit Handle(std::shared_ptr<Timer> timer) : timer_(std::move(timer)) {}
    ~Handle() override { invalidate(); }
    // As NSTimer does, an invalidated timer lets go of its action.
    void invalidate() override {
      timer_->valid = false;
      timer_->action = nullptr;
    }
    bool isValid() const override { return timer_->valid; }

   private:
    std::shared_ptr<Timer> timer_;
  };

  std::unique_ptr<RepeatingTimer> scheduleRepeatingTimer(double interval,
                                                         std::function<void()> action) override {
    log_.push_back("scheduleTimer " + std::to_string(interval));
    timers.push_back(std::make_shared<Timer>(Timer{interval, std::move(action)}));
    return std::make_unique<Handle>(timers.back());
  }
  void postToMainQueue(std::function<void()> job) override {
    log_.push_back("post");
    jobs.push_back(std::move(job));
  }
  void startMainThreadTask(std::function<void()> task) override {
    log_.push_back("task");
    jobs.push_back(std::move(task));
  }

  // Fires every valid timer once (one interval passing), without running the jobs it starts.
  void fireTimers() {
    for (const auto& timer : std::vector(timers)) {
      if (timer->valid) timer->action();
    }
  }
  // Runs queued jobs until none is left, including those queued meanwhile.
  void runJobs() {
    while (!jobs.empty()) {
      auto job = std::move(jobs.front());
      jobs.pop_front();
      job();
    }
  }
  // One polling interval: timers fire, then whatever they started runs.
  void tick() {
    fireTimers();
    runJobs();
  }

  std::vector<std::shared_ptr<Timer>> timers;
  std::deque<std::function<void()>> jobs;

 private:
  CallLog& log_;
};

// Records each alert and answers the next scripted response (the first button by default).
class FakeAlerts final : public AlertPresenter {
 public:
  explicit FakeAlerts(CallLog& log) : log_(log) {}
  void activateIgnoringOtherApps() override { log_.push_back("activate"); }
  long runModal(const AlertContent& alert) override {
    log_.push_back("runModal " + alert.messageText);
    shown.push_back(alert);
    if (duringModal) duringModal();
    if (responses.empty()) return defaultResponse;
    const long response = responses.front();
    responses.pop_front();
    return response;
  }
  std::vector<AlertContent> shown;
  std::deque<long> responses;
  long defaultResponse = alertFirstButtonReturn;
  std::function<void()> duringModal;

 private:
  CallLog& log_;
};

class FakeStatusItem final : public StatusItem {
 public:
  explicit FakeStatusItem(CallLog& log) : log_(log) {}
  void show(LabelProvider label, MenuProvider menu) override {
    log_.push_back("statusItem show");
    labelProvider = std::move(label);
    menuProvider = std::move(menu);
    labels.push_back(labelProvider());
  }
  void setNeedsUpdate() override {
    log_.push_back("statusItem update");
    labels.push_back(labelProvider());
  }
  void remove() override {
    log_.push_back("statusItem remove");
    labelProvider = nullptr;
    menuProvider = nullptr;
  }
  LabelProvider labelProvider;
  MenuProvider menuProvider;
  std::vector<StatusLabel> labels;

 private:
  CallLog& log_;
};

// Every fake, sharing one log, and the platform bundle over them.
struct FakePlatform {
  CallLog log;
  std::shared_ptr<FakeEventTaps> eventTaps = std::make_shared<FakeEventTaps>(log);
  std::shared_ptr<FakeUserDefaults> defaults = std::make_shared<FakeUserDefaults>(log);
  std::shared_ptr<FakeSystem> system = std::make_shared<FakeSystem>(log);
  std::shared_ptr<FakeMainLoop> mainLoop = std::make_shared<FakeMainLoop>(log);
  std::shared_ptr<FakeAlerts> alerts = std::make_shared<FakeAlerts>(log);
  std::shared_ptr<FakeStatusItem> statusItem = std::make_shared<FakeStatusItem>(log);

  Platform platform() const {
    return {eventTaps, defaults, system, mainLoop, alerts, statusItem};
  }
  // The calls logged since the last take, then forgotten.
  CallLog take() { return std::exchange(log, {}); }
};

}  // namespace wheelright::testing
