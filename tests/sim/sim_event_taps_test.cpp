#include "platform/sim/sim_event_taps.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "platform/sim/sim_desktop.h"
#include "scroll/event_fields.h"

namespace wheelright::sim {
namespace {

// A tap's callback records what reached it.
struct Probe {
  std::string name;
  std::vector<std::string>* seen = nullptr;
};

EventRef probeCallback(EventTapProxy, EventType type, EventRef event, void* userInfo) noexcept {
  auto& probe = *static_cast<Probe*>(userInfo);
  probe.seen->push_back(probe.name + ":" + std::to_string(type));
  return event;
}

class SimEventTapsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    desktop->system().setTrusted(true);
    desktop->log().setAbortsOnFault(false);
  }

  // A tap with its source in the given mode, as an application installs one.
  MachPortRef install(Probe& probe, std::optional<RunLoopMode> mode = RunLoopMode::commonModes) {
    probe.seen = &seen;
    const MachPortRef port =
        taps().tapCreate(TapLocation::session, TapPlacement::headInsert, TapOptions::defaultFilter,
                         scrollWheelEventMask, probeCallback, &probe);
    RunLoopSourceRef source = taps().machPortCreateRunLoopSource(port, 0);
    if (mode && source != nullptr) taps().runLoopAddSource(taps().mainRunLoop(), source, *mode);
    sources.push_back(source);
    return port;
  }
  SimEventTaps& taps() { return desktop->eventTaps(); }

  std::shared_ptr<SimDesktop> desktop = SimDesktop::create();
  std::vector<std::string> seen;
  std::vector<RunLoopSourceRef> sources;
};

TEST_F(SimEventTapsTest, DeliveryNeedsAValidEnabledInterestedTapWithASourceRunningNow) {
  const auto common = RunLoopMode::commonModes, defaultMode = RunLoopMode::defaultMode;
  // What, the source's mode, an alert open, enabled, invalidated, the event's type, delivered.
  const std::tuple<const char*, std::optional<RunLoopMode>, bool, bool, bool, EventType, bool>
      rows[] = {
      {"common modes, default running", common, false, true, false, 22, true},
      {"common modes include the modal mode", common, true, true, false, 22, true},
      {"default mode, default running", defaultMode, false, true, false, 22, true},
      {"default mode, alert open", defaultMode, true, true, false, 22, false},
      {"source never added", std::nullopt, false, true, false, 22, false},
      {"tap disabled", common, false, false, false, 22, false},
      {"port invalidated", common, false, true, true, 22, false},
      {"type outside the mask", common, false, true, false, 10, false},
      {"type beyond any mask bit", common, false, true, false, 0xFFFFFFFEu, false},
  };
  for (const auto& [what, sourceMode, isModal, isEnabled, isInvalidated, type, delivers] : rows) {
    desktop = SimDesktop::create();
    SetUp();
    seen.clear();
    Probe probe{"t"};
    const MachPortRef port = install(probe, sourceMode);
    if (!isEnabled) taps().tapEnable(port, false);
    if (isInvalidated) taps().machPortInvalidate(port);
    if (isModal) desktop->runLoop().enterModal();
    const std::optional<SimEvent> delivered = desktop->inject(SimEvent::ofType(type));
    EXPECT_EQ(!seen.empty(), delivers) << what;
    EXPECT_TRUE(delivered.has_value()) << what << ": the event still reaches the application";
  }
}

TEST_F(SimEventTapsTest, HandlesAreCountedSoThatLeaksShow) {
  const std::pair<std::vector<std::string>, std::size_t> rows[] = {
      {{"remove", "invalidate", "release source", "release port"}, 0},
      {{"invalidate", "release source", "release port"}, 0},  // invalidating detaches
      {{"release source", "release port"}, 2},                // still on the run loop
      {{"remove", "invalidate", "release port"}, 2},
  };
  for (const auto& [steps, liveHandles] : rows) {
    desktop = SimDesktop::create();
    SetUp();
    Probe probe{"t"};
    const MachPortRef port = install(probe);
    const RunLoopSourceRef source = sources.back();
    for (const std::string& step : steps) {
      if (step == "remove") taps().runLoopRemoveSource(taps().mainRunLoop(), source, RunLoopMode::commonModes);
      if (step == "invalidate") taps().machPortInvalidate(port);
      if (step == "release source") taps().release(source);
      if (step == "release port") taps().release(port);
    }
    EXPECT_EQ(taps().liveHandleCount(), liveHandles) << steps.size();
    EXPECT_TRUE(desktop->log().faults().empty()) << steps.back();
  }
}

// A day of polling with a failing tap, or thousands of relaunches, make tens of thousands of
// handles; a handle value is never given out again, so a stale one faults instead of reaching a
// newer tap.
TEST_F(SimEventTapsTest, AStaleHandleFaultsInsteadOfReachingANewerTap) {
  Probe probe{"t"};
  const MachPortRef stale = install(probe);
  taps().runLoopRemoveSource(taps().mainRunLoop(), sources.back(), RunLoopMode::commonModes);
  taps().release(sources.back());
  taps().machPortInvalidate(stale);
  taps().release(stale);
  const MachPortRef live = install(probe);
  taps().release(stale);
  taps().tapEnable(stale, false);
  EXPECT_EQ(desktop->log().faults().size(), 2u);
  EXPECT_EQ(taps().retainCount(live), 2) << "the newer tap is untouched";
  EXPECT_EQ(taps().tapState(live), SimEventTaps::TapState::running);
}

}  // namespace
}  // namespace wheelright::sim
