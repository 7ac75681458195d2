#pragma once
// The simulated session event stream with its event taps and run-loop sources. Taps are kept in
// the order the system would pass events through them (by location, then head or tail
// placement); an injected event goes through every tap that is valid, enabled, interested in its
// type and has a source attached to the main run loop in a mode that runs now, each callback's
// answer going on to the next, and what comes out reaches the application under the pointer.
//
// Handles are reference counted as Core Foundation counts them: the caller owns what it creates,
// a source keeps its port, the run loop keeps the sources attached to it, and invalidating a port
// detaches its sources. A release too many, or a call on a freed handle, is a fault.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

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
  SimEventTaps(DesktopLog& log, SimRunLoop& runLoop, const SimSystem& system);
  ~SimEventTaps() override;
  SimEventTaps(const SimEventTaps&) = delete;
  SimEventTaps& operator=(const SimEventTaps&) = delete;

  MachPortRef tapCreate(TapLocation location, TapPlacement placement, TapOptions options,
                        EventMask eventsOfInterest, EventTapCallback callback,
                        void* userInfo) override;
  RunLoopSourceRef machPortCreateRunLoopSource(MachPortRef port, std::int64_t order) override;
  RunLoopRef mainRunLoop() override;
  void runLoopAddSource(RunLoopRef runLoop, RunLoopSourceRef source, RunLoopMode mode) override;
  void runLoopRemoveSource(RunLoopRef runLoop, RunLoopSourceRef source, RunLoopMode mode) override;
  void tapEnable(MachPortRef port, bool enable) noexcept override;
  bool tapIsEnabled(MachPortRef port) override;
  void machPortInvalidate(MachPortRef port) override;
  void release(MachPortRef port) override;
  void release(RunLoopSourceRef source) override;

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
  // Passes the event down the stream; answers what reached the application (none when a tap
  // dropped it), which the sink also receives.
  std::optional<SimEvent> inject(const SimEvent& event);
  void setEventSink(EventSink sink) { sink_ = std::move(sink); }
  // The system switches the tap off; with a reason other than silent, the matching
  // notification then goes to the tap's callback if its source runs now.
  void disableTap(MachPortRef port, DisableReason reason);

  // The most recently created tap that has not been invalidated, if any.
  MachPortRef newestTap() const;
  TapState tapState(MachPortRef port) const;
  // Ports and sources that are still referenced; 0 once everything was released.
  std::size_t liveHandleCount() const;
  int retainCount(MachPortRef port) const;
  int retainCount(RunLoopSourceRef source) const;

 private:
  struct Port;
  struct Source;

  template <typename Handle, typename Ref>
  static Handle* lookup(const std::vector<std::unique_ptr<Handle>>& handles, Ref ref);
  // The handle if it is still referenced; a fault otherwise.
  template <typename Handle, typename Ref>
  Handle* findLive(const std::vector<std::unique_ptr<Handle>>& handles, Ref ref, const char* kind,
                   const char* operation);
  Port* findPort(MachPortRef ref, const char* operation);
  Source* findSource(RunLoopSourceRef ref, const char* operation);
  bool checkMainRunLoop(RunLoopRef runLoop, const char* operation);
  bool runsNow(const Port& port) const;
  void detach(Source& source);
  void releasePort(Port& port);
  void releaseSource(Source& source);

  DesktopLog& log_;
  SimRunLoop& runLoop_;
  const SimSystem& system_;
  CreationFailure creationFailure_ = CreationFailure::none;
  std::vector<std::unique_ptr<Port>> ports_;      // every port ever made, freed ones included
  std::vector<std::unique_ptr<Source>> sources_;  // the same for sources
  std::vector<Port*> stream_;                     // valid taps in the order events pass them
  EventSink sink_;
  int mainRunLoopToken_ = 0;  // its address stands for the main run loop
};

}  // namespace wheelright::sim
