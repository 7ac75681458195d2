#pragma once
// The simulated session event stream with its event taps. An injected event goes through each
// tap that is valid, enabled, interested in its type and has a source on the main run loop in a
// mode that runs now, and what comes out reaches the application.
//
// Every port and source is the caller's to release once: what is left unreleased shows in
// liveHandleCount, and a handle used after its release is a fault (handle values are never
// given out twice, so a stale one cannot reach a newer tap).

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
  RunLoopRef mainRunLoop() override { return reinterpret_cast<RunLoopRef>(&mainRunLoopToken_); }
  void runLoopAddSource(RunLoopRef runLoop, RunLoopSourceRef ref, RunLoopMode mode) override;
  void runLoopRemoveSource(RunLoopRef runLoop, RunLoopSourceRef ref, RunLoopMode mode) override;
  void tapEnable(MachPortRef ref, bool enable) noexcept override;
  bool tapIsEnabled(MachPortRef ref) override;
  void machPortInvalidate(MachPortRef ref) override;
  void release(MachPortRef ref) override { releaseHandle(ref, "release port"); }
  void release(RunLoopSourceRef ref) override { releaseHandle(ref, "release source"); }

  std::int64_t eventIntegerValue(EventRef event, EventField field) noexcept override {
    return toSimEvent(event).integerValue(field);
  }
  double eventDoubleValue(EventRef event, EventField field) noexcept override {
    return toSimEvent(event).doubleValue(field);
  }
  void eventSetIntegerValue(EventRef event, EventField field,
                            std::int64_t value) noexcept override {
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
  // Ports and sources made and not yet released.
  std::size_t liveHandleCount() const { return handles_.size(); }

 private:
  // A port (source == false) or a run-loop source of a port.
  struct Handle {
    bool isSource = false;
    std::uintptr_t port = 0;
    EventMask mask = 0;
    EventTapCallback callback = nullptr;
    void* userInfo = nullptr;
    bool isEnabled = true;  // a tap is enabled when created
    bool isDeaf = false;
    bool isValid = true;
    // A source's mode on the main run loop, once added.
    std::optional<RunLoopMode> mode = std::nullopt;
  };

  // The unreleased handle behind a reference; a fault otherwise.
  Handle& find(const void* ref, const char* operation);
  void releaseHandle(const void* ref, const char* call);
  bool runsNow(std::uintptr_t port) const;

  DesktopLog& log_;
  SimRunLoop& runLoop_;
  const SimSystem& system_;
  CreationFailure creationFailure_ = CreationFailure::none;
  std::map<std::uintptr_t, Handle> handles_;  // by handle value, counting up from 1
  std::uintptr_t lastHandle_ = 0;
  EventSink sink_;
  int mainRunLoopToken_ = 0;  // its address stands for the main run loop
};

}  // namespace wheelright::sim
