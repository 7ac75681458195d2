#include "scroll/scroll_event_tap.h"

#include <gtest/gtest.h>

#include "scroll/event_fields.h"
#include "support/desktop_test.h"

namespace wheelright {
namespace {

using namespace testing;
using Failure = sim::SimEventTaps::CreationFailure;
using Reason = sim::SimEventTaps::DisableReason;

const Lines startCalls = {"tapCreate location=1 placement=0 options=0 mask=0x400000",
                          "machPortCreateRunLoopSource order=0", "runLoopAddSource mode=common",
                          "tapEnable true"};
const Lines stopCalls = {"runLoopRemoveSource mode=common", "tapEnable false", "machPortInvalidate",
                         "release source", "release port"};

Lines join(std::initializer_list<Lines> parts) {
  Lines all;
  for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

class TapTest : public DesktopTest {
 protected:
  TapTest() {
    system().setTrusted(true);
    desktop->log().setAbortsOnFault(false);
  }
  void TearDown() override {
    tap.reset();
    EXPECT_EQ(taps().liveHandleCount(), 0u) << "every port and source released";
    EXPECT_TRUE(desktop->log().faults().empty()) << desktop->log().faults().front();
  }
  // The horizontal line delta of a wheel event after the callback.
  std::int64_t deliver(EventType type = event_type::scrollWheel) {
    sim::SimEvent event = sim::SimEvent::mouseWheel(0, 3);
    event.type = type;
    const EventRef ref = sim::toEventRef(event);
    EXPECT_EQ(scrollTapCallback(nullptr, type, ref, tap.get()), ref) << "the very event goes on";
    return event.integerValue(field::deltaAxis2);
  }

  // The provider's owner: the switches, and how often they were asked for.
  struct Switches {
    ScrollConfiguration config{false, true, false};
    mutable int asked = 0;
  };
  static ScrollConfiguration readSwitches(const void* context) noexcept {
    const auto* switches = static_cast<const Switches*>(context);
    ++switches->asked;
    return switches->config;
  }
  std::shared_ptr<Switches> switches = std::make_shared<Switches>();
  std::shared_ptr<ScrollEventTap> tap =
      ScrollEventTap::create(desktop->platform().eventTaps, {readSwitches, switches.get(), switches});
};

// Replacing a tap the system disabled: ACreationFailureLeavesTheTapIdle shows the old one
// stopped first, and the tap_error transcript the new one running.
TEST_F(TapTest, StartAndStop) {
  EXPECT_FALSE(tap->isRunning());
  EXPECT_TRUE(take().empty()) << "made without any platform call; with no port, nothing to ask";
  ASSERT_TRUE(tap->start());
  EXPECT_EQ(take(), startCalls);
  ASSERT_TRUE(tap->start());
  EXPECT_EQ(take(), Lines{"tapIsEnabled"}) << "a running tap is left as it is";
  EXPECT_TRUE(tap->isRunning());

  taps().disableTap(taps().newestTap(), Reason::silent);
  EXPECT_FALSE(tap->isRunning());
  take();
  tap->stop();
  EXPECT_EQ(take(), stopCalls) << "from disabled, too";
  tap->stop();  // a second release would be a fault
  EXPECT_FALSE(tap->hasPort() || tap->hasRunLoopSource());
  ASSERT_TRUE(tap->start());
  take();
  tap.reset();
  EXPECT_EQ(take(), stopCalls) << "destruction stops first";
}

TEST_F(TapTest, ACreationFailureLeavesTheTapIdle) {
  const std::pair<Failure, Lines> rows[] = {
      {Failure::tap, {startCalls[0]}},
      // The new port is invalidated (not disabled first) and released.
      {Failure::source, {startCalls[0], startCalls[1], "machPortInvalidate", "release port"}},
  };
  for (const auto& [failure, calls] : rows) {
    ASSERT_TRUE(tap->start());
    taps().disableTap(taps().newestTap(), Reason::silent);
    taps().setCreationFailure(failure);
    take();
    EXPECT_FALSE(tap->start());
    EXPECT_EQ(take(), join({{"tapIsEnabled"}, stopCalls, calls})) << "the disabled tap is gone too";
    EXPECT_FALSE(tap->hasPort() || tap->hasRunLoopSource() || tap->isRunning());
    taps().setCreationFailure(Failure::none);
  }
}

TEST_F(TapTest, TheCallbackRewritesScrollEventsAndReenablesADisabledTap) {
  ASSERT_TRUE(tap->start());
  EXPECT_EQ(deliver(), -3);
  switches->config.reverseHorizontal = false;
  EXPECT_EQ(deliver(), 3) << "a switch changed between events applies to the next";
  EXPECT_EQ(switches->asked, 2);
  for (const EventType other : {EventType{0}, EventType{1}, EventType{10}}) EXPECT_EQ(deliver(other), 3);
  switches->config.reverseHorizontal = true;
  sim::SimEvent event = sim::SimEvent::mouseWheel(0, 3);
  EXPECT_EQ(scrollTapCallback(nullptr, event.type, sim::toEventRef(event), nullptr), sim::toEventRef(event));
  EXPECT_EQ(event.integerValue(field::deltaAxis2), 3) << "no tap: the event goes on as it came";
  EXPECT_EQ(switches->asked, 2) << "asked for scroll-wheel events of a tap only";

  // The tap_error transcript shows a tap disabled by timeout or user input re-enabled.
  taps().disableTap(taps().newestTap(), Reason::silent);
  take();
  event = sim::SimEvent::ofType(event_type::tapDisabledByTimeout);
  scrollTapCallback(nullptr, event.type, sim::toEventRef(event), nullptr);
  EXPECT_TRUE(take().empty()) << "no tap, nothing re-enabled";
  tap->stop();
  take();
  deliver(event_type::tapDisabledByTimeout);
  deliver(event_type::tapDisabledByUserInput);
  EXPECT_TRUE(take().empty()) << "after stop there is no port to re-enable";
}

// The port does not retain the tap: when the provider drops the tap's last owner in the middle
// of an event, the callback still holds it, finishes the event, and the tap goes only then.
TEST_F(TapTest, ATapDroppedDuringItsOwnCallbackLastsUntilTheCallbackReturns) {
  struct Dropper {
    std::shared_ptr<ScrollEventTap>* tap;
    sim::SimDesktop* desktop;
    mutable Lines callsWhenDropped;
  };
  const auto dropper = std::make_shared<Dropper>(Dropper{&tap, desktop.get(), {}});
  const auto dropTap = [](const void* context) noexcept {
    const auto* d = static_cast<const Dropper*>(context);
    d->tap->reset();
    d->callsWhenDropped = d->desktop->calls();
    return ScrollConfiguration{false, true, false};
  };
  tap = ScrollEventTap::create(desktop->platform().eventTaps, {dropTap, dropper.get(), dropper});
  ASSERT_TRUE(tap->start());
  take();
  EXPECT_EQ(deliver(), -3) << "the event is rewritten to the end";
  EXPECT_FALSE(tap);
  EXPECT_TRUE(dropper->callsWhenDropped.empty()) << "not stopped inside the callback";
  EXPECT_EQ(take(), stopCalls) << "stopped once the callback returned";
}

}  // namespace
}  // namespace wheelright
