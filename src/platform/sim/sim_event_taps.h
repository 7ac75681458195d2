#pragma once
// The simulated session event stream with its event taps and run-loop sources. An injected event
// goes through each tap that is valid, enabled, interested in its type and has a source on the
// main run loop in a mode that runs now, and what comes out reaches the application.
//
// Handles are reference counted as Core Foundation counts them: the caller owns what it creates,
// a source keeps its port, the run loop keeps the sources attached to it, and invalidating a port
// detaches its sources. A handle is forgotten when its last reference goes; handle values are
// never reused, so a release too many, or a call on a freed handle, is still caught as a fault.

#include <cstdint>
#include <functional>
#include <map>
#include <optional>

#include "platform/event_tap_services.h"
#include "platform/sim/desktop_log.h"
#include "platform/sim/sim_event.h"
#include "platform/sim/sim_run_loop.h"
#include "platform/sim/sim_system.h"

namespace wheelright::sim {

class SimEventTaps final : public EventTapServices {
 public:
  enum class CreationFailure { none, tap, source };
  enum class DisableReason { timeout, userInput, silent };
  enum class TapState { running, disabled, idle };
  using EventSink = std::function<void(const SimEvent&)>;

  // Active filters need the process trusted, as on the real system.
  SimEventTaps(DesktopLog& log, SimRunLoop& runLoop, const SimSystem& system)
      : log_(log), runLoop_(runLoop), system_(system) {}

  MachPortRef tapCreate(TapLocation location, TapPlacement placement, TapOptions options,
                        EventMask eventsOfInterest, EventTapCallback callback,
                        void* userInfo) override;
  RunLoopSourceRef machPortCreateRunLoopSource(MachPortRef ref, std::int64_t order) override;
  RunLoopRef mainRunLoop() override;
  void runLoopAddSource(RunLoopRef runLoop, RunLoopSourceRef ref, RunLoopMode mode) override;
  void runLoopRemoveSource(RunLoopRef runLoop, RunLoopSourceRef ref, RunLoopMode mode) override;
  void tapEnable(MachPortRef ref, bool enable) noexcept override;
  bool tapIsEnabled(MachPortRef ref) override;
  void machPortInvalidate(MachPortRef ref) override;
  void release(MachPortRef ref) override;
  void release(RunLoopSourceRef ref) override;

  std::int64_t eventIntegerValue(EventRef event, EventField field) noexcept override {
    return toSimEvent(event).integerValue(field);
  }
  double eventDoubleValue(EventRef event, EventField field) noexcept override {
    return toSimEvent(event).doubleValue(field);
  }
  void eventSetIntegerValue(EventRef event, EventField field, std::int64_t value) noexcept override {
    toSimEvent(event).setIntegerValue(field, value);
  }
  void eventSetDoubleValue(EventRef event, EventField field, double value) noexcept override {
    toSimEvent(event).setDoubleValue(field, value);
  }

  // From now on, tap creation fails at the tap (null port), at the source (null source) or not.
  void setCreationFailure(CreationFailure failure) { creationFailure_ = failure; }
  // Passes the event through the taps; answers what reached the application (none when a tap
  // dropped it), which the sink also receives.
  std::optional<SimEvent> inject(const SimEvent& event);
  void setEventSink(EventSink sink) { sink_ = std::move(sink); }
  // The system switches the tap off; with a reason other than silent, the matching
  // notification then goes to the tap's callback if its source runs now.
  void disableTap(MachPortRef ref, DisableReason reason);

  // The tap stays enabled but is no longer called, as a tap starved after a bad wake.
  void deafenTap(MachPortRef ref);

  // The most recently created tap that has not been invalidated, if any.
  MachPortRef newestTap() const;
  TapState tapState(MachPortRef ref) const;
  // Ports and sources the desktop keeps, which are those still referenced: 0 once everything
  // was released, however many were made before.
  std::size_t liveHandleCount() const { return ports_.size() + sources_.size(); }
  int retainCount(MachPortRef ref) const;

 private:
  struct Port {
    EventMask mask = 0;
    EventTapCallback callback = nullptr;
    void* userInfo = nullptr;
    bool isEnabled = true;  // a tap is enabled when created
    bool isDeaf = false;
    bool isValid = true;
    int retainCount = 1;
  };
  struct Source {
    std::uintptr_t port = 0;
    bool inDefaultMode = false;
    bool inCommonModes = false;
    bool isValid = true;
    int retainCount = 1;
    bool isAttached() const { return inDefaultMode || inCommonModes; }
  };

  // The live handle behind a reference; a fault when it was freed or never made here.
  template <typename Handle>
  Handle* find(std::map<std::uintptr_t, Handle>& handles, const void* ref, const char* operation);
  bool checkMainRunLoop(RunLoopRef runLoop, const char* operation);
  bool runsNow(std::uintptr_t port) const;
  void releasePort(std::uintptr_t id);
  void releaseSource(std::uintptr_t id);

  DesktopLog& log_;
  SimRunLoop& runLoop_;
  const SimSystem& system_;
  CreationFailure creationFailure_ = CreationFailure::none;
  // Live handles only, by handle value; values count up from 1 and are never given out twice.
  std::map<std::uintptr_t, Port> ports_;
  std::map<std::uintptr_t, Source> sources_;
  std::uintptr_t lastHandle_ = 0;
  EventSink sink_;
  int mainRunLoopToken_ = 0;  // its address stands for the main run loop
};

}  // namespace wheelright::sim
