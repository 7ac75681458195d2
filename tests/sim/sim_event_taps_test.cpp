#include "platform/sim/sim_event_taps.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/sim/sim_desktop.h"
#include "scroll/event_fields.h"

namespace wheelright::sim {
namespace {

// A tap's callback records what reached it and may change, drop or re-enable.
struct Probe {
  std::string name;
  std::vector<std::string>* seen = nullptr;
  SimEventTaps* taps = nullptr;
  MachPortRef port = nullptr;
  std::int64_t addToLines = 0;
  bool drops = false;
};

EventRef probeCallback(EventTapProxy, EventType type, EventRef event, void* userInfo) {
  auto& probe = *static_cast<Probe*>(userInfo);
  probe.seen->push_back(probe.name + ":" + std::to_string(type));
  if (type == event_type::tapDisabledByTimeout || type == event_type::tapDisabledByUserInput) {
    probe.taps->tapEnable(probe.port, true);
    return event;
  }
  auto& fields = toSimEvent(event);
  fields.setIntegerValue(field::deltaAxis1,
                         fields.integerValue(field::deltaAxis1) + probe.addToLines);
  return probe.drops ? nullptr : event;
}

class SimEventTapsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    desktop->system().setTrusted(true);
    desktop->log().setAbortsOnFault(false);
  }

  // A tap with its source in the given mode, as an application installs one.
  MachPortRef install(Probe& probe, TapLocation location = TapLocation::session,
                      TapPlacement placement = TapPlacement::headInsert,
                      std::optional<RunLoopMode> mode = RunLoopMode::commonModes,
                      EventMask mask = scrollWheelEventMask) {
    probe.seen = &seen;
    probe.taps = &taps();
    probe.port = taps().tapCreate(location, placement, TapOptions::defaultFilter, mask,
                                  probeCallback, &probe);
    RunLoopSourceRef source = taps().machPortCreateRunLoopSource(probe.port, 0);
    if (mode) taps().runLoopAddSource(taps().mainRunLoop(), source, *mode);
    sources.push_back(source);
    return probe.port;
  }
  SimEventTaps& taps() { return desktop->eventTaps(); }

  std::shared_ptr<SimDesktop> desktop = SimDesktop::create();
  std::vector<std::string> seen;
  std::vector<RunLoopSourceRef> sources;
};

TEST_F(SimEventTapsTest, EventsPassTapsInStreamOrderNewestHeadTapFirst) {
  struct Tap {
    const char* name;
    TapLocation location;
    TapPlacement placement;
  };
  struct Row {
    const char* what;
    std::vector<Tap> created;
    std::vector<std::string> order;
  };
  const auto head = TapPlacement::headInsert;
  const auto tail = TapPlacement::tailAppend;
  const auto session = TapLocation::session;
  const std::vector<Row> rows = {
      {"head inserts", {{"a", session, head}, {"b", session, head}, {"c", session, head}}, {"c:22", "b:22", "a:22"}},
      {"tail appends", {{"a", session, head}, {"b", session, tail}, {"c", session, head}}, {"c:22", "a:22", "b:22"}},
      {"hid before session", {{"s", session, head}, {"h", TapLocation::hid, tail}}, {"h:22", "s:22"}},
  };
  for (const Row& row : rows) {
    desktop = SimDesktop::create();
    SetUp();
    seen.clear();
    std::vector<std::unique_ptr<Probe>> probes;
    for (const Tap& tap : row.created) {
      probes.push_back(std::make_unique<Probe>(Probe{tap.name}));
      install(*probes.back(), tap.location, tap.placement);
    }
    desktop->inject(SimEvent::mouseWheel(1));
    EXPECT_EQ(seen, row.order) << row.what;
  }
}

TEST_F(SimEventTapsTest, DeliveryNeedsAValidEnabledInterestedTapWithASourceRunningNow) {
  struct Row {
    const char* what;
    std::optional<RunLoopMode> sourceMode;
    bool isModal;
    bool isEnabled;
    bool isInvalidated;
    EventType type;
    bool isDelivered;
  };
  const auto common = RunLoopMode::commonModes;
  const auto defaultMode = RunLoopMode::defaultMode;
  const std::vector<Row> rows = {
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
  for (const Row& row : rows) {
    desktop = SimDesktop::create();
    SetUp();
    seen.clear();
    Probe probe{"t"};
    const MachPortRef port =
        install(probe, TapLocation::session, TapPlacement::headInsert, row.sourceMode);
    if (!row.isEnabled) taps().tapEnable(port, false);
    if (row.isInvalidated) taps().machPortInvalidate(port);
    if (row.isModal) desktop->runLoop().enterModal();
    const std::optional<SimEvent> delivered = desktop->inject(SimEvent::ofType(row.type));
    EXPECT_EQ(!seen.empty(), row.isDelivered) << row.what;
    EXPECT_TRUE(delivered.has_value()) << row.what << ": the event still reaches the application";
  }
}

TEST_F(SimEventTapsTest, EachTapSeesWhatTheOneBeforeReturnedAndADroppedEventEndsTheStream) {
  Probe older{"older"};
  Probe newer{"newer"};
  newer.addToLines = 10;
  install(older);
  install(newer);
  const std::optional<SimEvent> out = desktop->inject(SimEvent::mouseWheel(1));
  ASSERT_TRUE(out);
  EXPECT_EQ(out->integerValue(field::deltaAxis1), 11);

  newer.drops = true;
  EXPECT_FALSE(desktop->inject(SimEvent::mouseWheel(1))) << "nothing reaches the application";
  EXPECT_EQ(seen.back(), "newer:22") << "the older tap sees nothing of a dropped event";
}

TEST_F(SimEventTapsTest, HandlesAreCountedSoThatLeaksAndDoubleReleasesShow) {
  struct Row {
    std::vector<std::string> steps;
    std::size_t liveHandles, faults;
  };
  const std::vector<Row> rows = {
      {{"remove", "invalidate", "release source", "release port"}, 0, 0},
      {{"remove", "invalidate", "release port", "release source"}, 0, 0},
      {{"invalidate", "release source", "release port"}, 0, 0},  // invalidating detaches
      {{"release source", "release port"}, 2, 0},                // still on the run loop
      {{"remove", "invalidate", "release port"}, 2, 0},
      {{"remove", "invalidate", "release source", "release port", "release port"}, 0, 1},
      {{"remove", "invalidate", "release source", "release port", "enable"}, 0, 1},
  };
  for (const Row& row : rows) {
    desktop = SimDesktop::create();
    SetUp();
    Probe probe{"t"};
    const MachPortRef port = install(probe);
    const RunLoopSourceRef source = sources.back();
    for (const std::string& step : row.steps) {
      if (step == "remove") taps().runLoopRemoveSource(taps().mainRunLoop(), source, RunLoopMode::commonModes);
      if (step == "invalidate") taps().machPortInvalidate(port);
      if (step == "release source") taps().release(source);
      if (step == "release port") taps().release(port);
      if (step == "enable") taps().tapEnable(port, true);
    }
    EXPECT_EQ(taps().liveHandleCount(), row.liveHandles) << row.steps.size();
    EXPECT_EQ(desktop->log().faults().size(), row.faults) << row.steps.back();
  }
}

}  // namespace
}  // namespace wheelright::sim
