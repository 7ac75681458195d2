#include "scroll/scroll_event_tap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <optional>
#include <string>

#include "scroll/event_fields.h"
#include "support/desktop_test.h"

namespace wheelright {
namespace {

using namespace testing;
using Failure = sim::SimEventTaps::CreationFailure;
using Reason = sim::SimEventTaps::DisableReason;

class TapTest : public DesktopTest {
 protected:
  TapTest() { system().setTrusted(true); }
  void TearDown() override {
    tap.reset();
    EXPECT_EQ(taps().liveHandleCount(), 0u) << "every port and source released";
  }
  bool tapRunning() {
    return taps().tapState(taps().newestTap()) == sim::SimEventTaps::TapState::running;
  }
  // The horizontal line delta of a wheel event (3) once it has passed the session's taps.
  std::int64_t wheel() {
    return desktop->inject(sim::SimEvent::mouseWheel(0, 3))->integerValue(field::deltaAxis2);
  }

  // The provider's owner: the switches.
  struct Switches {
    ScrollConfiguration config{false, true, false};
  };
  static ScrollConfiguration readSwitches(const void* context) noexcept {
    return static_cast<const Switches*>(context)->config;
  }
  std::shared_ptr<Switches> switches = std::make_shared<Switches>();
  std::shared_ptr<ScrollEventTap> tap = ScrollEventTap::create(
      desktop->platform().eventTaps, {readSwitches, switches.get(), switches});
};

TEST_F(TapTest, StartAndStop) {
  EXPECT_FALSE(tap->isRunning());
  EXPECT_TRUE(take().empty()) << "made without any platform call";
  ASSERT_TRUE(tap->start().ok());
  const std::string created = "tapCreate location=1 placement=0 options=0 mask=0x400000";
  EXPECT_EQ(std::ranges::count(take(), created), 1)
      << "an active scroll-wheel filter, session head";
  const MachPortRef first = taps().newestTap();
  ASSERT_TRUE(tap->start().ok());
  EXPECT_EQ(taps().newestTap(), first) << "a running tap is left as it is";
  EXPECT_TRUE(tap->isRunning() && tapRunning());
  EXPECT_EQ(wheel(), -3);

  taps().disableTap(first, Reason::silent);
  EXPECT_FALSE(tap->isRunning());
  ASSERT_TRUE(tap->start().ok());
  EXPECT_TRUE(tap->isRunning() && tapRunning()) << "the disabled tap is replaced";
  EXPECT_EQ(taps().liveHandleCount(), 2u) << "and released";
  tap->stop();
  tap->stop();
  // The tap_error transcript shows a disabled tap re-enabled by its notification; one that was
  // already on its way when the tap stopped finds no port to re-enable.
  sim::SimEvent late = sim::SimEvent::ofType(event_type::tapDisabledByTimeout);
  scrollTapCallback(nullptr, late.type, sim::toEventRef(late), tap.get());
  EXPECT_FALSE(tap->isRunning() || tapRunning());
  EXPECT_EQ(wheel(), 3) << "stopped, events pass as they come";
  ASSERT_TRUE(tap->start().ok());  // TearDown shows that destruction stops it
}

TEST_F(TapTest, TeardownTakesTheSourceOffTheRunLoopBeforeInvalidatingThePort) {
  ASSERT_TRUE(tap->start().ok());
  take();
  tap->stop();
  const Lines calls = take();
  const auto at = [&calls](const char* call) {
    return std::ranges::find_if(calls, [call](const auto& c) { return c.starts_with(call); }) -
           calls.begin();
  };
  // The order is the contract: once the source is off the run loop, no callback can arrive for a
  // port that is being invalidated.
  EXPECT_LT(at("runLoopRemoveSource"), at("machPortInvalidate"));
  EXPECT_LT(at("machPortInvalidate"), std::ssize(calls));
}

TEST_F(TapTest, ACreationFailureLeavesTheTapIdle) {
  for (const Failure failure : {Failure::tap, Failure::source}) {
    ASSERT_TRUE(tap->start().ok());
    taps().disableTap(taps().newestTap(), Reason::silent);
    taps().setCreationFailure(failure);
    EXPECT_FALSE(tap->start().ok());
    EXPECT_FALSE(tap->isRunning());
    EXPECT_EQ(taps().liveHandleCount(), 0u) << "the disabled tap is gone too, and a port made "
                                               "before its source failed";
    taps().setCreationFailure(Failure::none);
  }
}

// The port does not retain the tap: when the provider drops the tap's last owner in the middle
// of an event, the callback still holds it, finishes the event, and the tap goes only then.
TEST_F(TapTest, ATapDroppedDuringItsOwnCallbackLastsUntilTheCallbackReturns) {
  struct Dropper {
    std::shared_ptr<ScrollEventTap>* tap;
    sim::SimEventTaps* taps;
    mutable std::size_t handlesWhenDropped = 0;
  };
  const auto dropper = std::make_shared<Dropper>(Dropper{&tap, &taps()});
  const auto dropTap = [](const void* context) noexcept {
    const auto* d = static_cast<const Dropper*>(context);
    d->tap->reset();
    d->handlesWhenDropped = d->taps->liveHandleCount();
    return ScrollConfiguration{false, true, false};
  };
  tap = ScrollEventTap::create(desktop->platform().eventTaps, {dropTap, dropper.get(), dropper});
  ASSERT_TRUE(tap->start().ok());
  EXPECT_EQ(wheel(), -3) << "the event is rewritten to the end";
  EXPECT_FALSE(tap);
  EXPECT_EQ(dropper->handlesWhenDropped, 2u) << "not stopped inside the callback";
}

// The tap's source is in the common modes, so a wheel event that comes while an alert holds the
// run loop in its modal mode is still reversed.
TEST_F(DesktopTest, AWheelEventWhileAnAlertIsOpenIsStillReversed) {
  system().setTrusted(true);
  std::optional<sim::SimEvent> delivered;
  answerAlerts(1001, [&] { delivered = desktop->inject(sim::SimEvent::mouseWheel(3)); });
  launch(true);  // a first start shows the checklist
  desktop->runPending();
  ASSERT_EQ(alertTitles(), Lines{onboardingTitle});
  EXPECT_EQ(delivered->integerValue(field::deltaAxis1), -3);
}

}  // namespace
}  // namespace wheelright
