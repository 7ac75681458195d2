// Real scroll events through the real field accessors and the tap's per-event entry, the
// run-loop calls on a port of the test's own, and, when this program is trusted for
// Accessibility, a real session tap started, passed an event in an alert's mode and stopped.

#import <AppKit/AppKit.h>
#import <ApplicationServices/ApplicationServices.h>
#include <gtest/gtest.h>

#include <memory>

#include "platform/macos/mac_services.h"
#include "run_loop_wait.h"
#include "scroll/scroll_event_tap.h"

namespace wheelright {
namespace {

// Line, fixed-point and point delta of one axis; fractional fixed-point values tell a double
// access from an integer one.
struct Axis {
  CGEventField line, fixedPt, point;
  int64_t lineDelta;
  double fixedPtDelta;
  int64_t pointDelta;
};
constexpr Axis axes[] = {
    {kCGScrollWheelEventDeltaAxis1, kCGScrollWheelEventFixedPtDeltaAxis1,
     kCGScrollWheelEventPointDeltaAxis1, 3, 3.25, 30},
    {kCGScrollWheelEventDeltaAxis2, kCGScrollWheelEventFixedPtDeltaAxis2,
     kCGScrollWheelEventPointDeltaAxis2, -1, -1.5, -12},
    {kCGScrollWheelEventDeltaAxis3, kCGScrollWheelEventFixedPtDeltaAxis3,
     kCGScrollWheelEventPointDeltaAxis3, 2, 2.75, 20},
};

CGEventRef makeScrollEvent(int64_t continuity, int64_t phase) {
  CGEventRef event = CGEventCreateScrollWheelEvent2(nullptr, kCGScrollEventUnitLine, 3, 0, 0, 0);
  CGEventSetIntegerValueField(event, kCGScrollWheelEventIsContinuous, continuity);
  CGEventSetIntegerValueField(event, kCGScrollWheelEventScrollPhase, phase);
  for (const Axis& axis : axes) {
    CGEventSetIntegerValueField(event, axis.line, axis.lineDelta);
    CGEventSetDoubleValueField(event, axis.fixedPt, axis.fixedPtDelta);
    CGEventSetIntegerValueField(event, axis.point, axis.pointDelta);
  }
  return event;
}

// Which events count as a wheel is the core's rule; here, the deltas of real events read and
// written through the real accessors, one axis alone or both, and a phased event left alone.
TEST(MacScrollEvents, TheTapRewritesRealEventsByTheirFields) {
  struct Row {
    const char* name;
    int64_t continuity, phase;
    ScrollConfiguration config;
    bool vertical, horizontal;  // reversed
  };
  const Row rows[] = {
      {"wheel, vertical", 0, 0, {true, false, false}, true, false},
      {"continuous, smooth wheel", 1, 0, {true, true, true}, true, true},
      {"phased", 1, 2, {true, true, true}, false, false},
  };
  const std::shared_ptr<EventTapServices> services = makeMacEventTapServices();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const auto config = std::make_shared<const ScrollConfiguration>(row.config);
    const auto read = [](const void* context) noexcept {
      return *static_cast<const ScrollConfiguration*>(context);
    };
    const auto tap = ScrollEventTap::create(services, {read, config.get(), config});
    CGEventRef event = makeScrollEvent(row.continuity, row.phase);
    const auto ref = reinterpret_cast<EventRef>(event);
    EXPECT_EQ(tap->handleTapEvent(kCGEventScrollWheel, ref), ref);
    const bool reversed[] = {row.vertical, row.horizontal, false};
    for (int i = 0; i < 3; ++i) {
      SCOPED_TRACE(i + 1);
      const int sign = reversed[i] ? -1 : 1;
      EXPECT_EQ(CGEventGetIntegerValueField(event, axes[i].line), sign * axes[i].lineDelta);
      EXPECT_EQ(CGEventGetDoubleValueField(event, axes[i].fixedPt), sign * axes[i].fixedPtDelta);
      EXPECT_EQ(CGEventGetIntegerValueField(event, axes[i].point), sign * axes[i].pointDelta);
    }
    CFRelease(event);
  }
}

void onPortMessage(CFMachPortRef, void*, CFIndex, void*) {}

// The run-loop half of starting and stopping a tap, on a plain port: the source joins the main
// run loop in the common modes, which include the modal mode an alert runs in, and leaves it.
TEST(MacScrollEvents, ASourceInTheCommonModesRunsWhileAnAlertIsOpen) {
  const std::shared_ptr<EventTapServices> services = makeMacEventTapServices();
  CFMachPortRef port = CFMachPortCreate(kCFAllocatorDefault, onPortMessage, nullptr, nullptr);
  ASSERT_NE(port, nullptr);
  const auto portRef = reinterpret_cast<MachPortRef>(port);
  const RunLoopSourceRef sourceRef = services->machPortCreateRunLoopSource(portRef, 0);
  ASSERT_NE(sourceRef, nullptr);
  const auto source = reinterpret_cast<CFRunLoopSourceRef>(sourceRef);
  const CFRunLoopRef main = CFRunLoopGetMain();
  const RunLoopRef mainLoop = services->mainRunLoop();
  EXPECT_EQ(reinterpret_cast<CFRunLoopRef>(mainLoop), main);
  services->runLoopAddSource(mainLoop, sourceRef, RunLoopMode::commonModes);
  EXPECT_TRUE(CFRunLoopContainsSource(main, source, kCFRunLoopDefaultMode));
  EXPECT_TRUE(CFRunLoopContainsSource(main, source, (__bridge CFStringRef)NSModalPanelRunLoopMode));
  services->runLoopRemoveSource(mainLoop, sourceRef, RunLoopMode::commonModes);
  EXPECT_FALSE(CFRunLoopContainsSource(main, source, kCFRunLoopCommonModes));
  services->machPortInvalidate(portRef);
  EXPECT_FALSE(CFMachPortIsValid(port));
  services->release(sourceRef);
  services->release(portRef);
}

// A posted wheel event with no delta reaches the tap while the run loop is in an alert's mode,
// and scrolls nothing.
TEST(MacScrollEvents, ARealTapStartsSeesAPostedEventAndStops) {
  if (!AXIsProcessTrusted()) {
    GTEST_SKIP() << "needs Accessibility trust for this program (or the terminal that runs it); "
                    "without it macOS creates no event tap";
  }
  struct Counter {
    mutable int calls = 0;
  };
  const auto counter = std::make_shared<const Counter>();
  const auto read = [](const void* context) noexcept {
    ++static_cast<const Counter*>(context)->calls;
    return ScrollConfiguration{true, false, false};
  };
  const auto tap =
      ScrollEventTap::create(makeMacEventTapServices(), {read, counter.get(), counter});
  ASSERT_TRUE(tap->start());
  ASSERT_TRUE(tap->isRunning());

  CGEventRef event = CGEventCreateScrollWheelEvent2(nullptr, kCGScrollEventUnitLine, 1, 0, 0, 0);
  ASSERT_NE(event, nullptr);
  CGEventPost(kCGHIDEventTap, event);
  CFRelease(event);
  // Run as while an alert is open: the wheel is still rewritten then.
  EXPECT_TRUE(
      runLoopUntil(NSModalPanelRunLoopMode, 2.0, [&counter] { return counter->calls > 0; }));

  tap->stop();
  EXPECT_FALSE(tap->isRunning());
  EXPECT_FALSE(tap->hasPort()) << "released, not only disabled";
  tap->stop();  // a second stop finds nothing to release
}

}  // namespace
}  // namespace wheelright
