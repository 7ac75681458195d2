// Real scroll events through the real field accessors and the tap's per-event entry, the
// run-loop calls on a port of the test's own, and, when this program is trusted for
// Accessibility, a real session tap started, passed an event and stopped.

#import <ApplicationServices/ApplicationServices.h>
#import <Foundation/Foundation.h>
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

CGEventRef makeScrollEvent(int64_t continuity, int64_t phase, int64_t momentum) {
  CGEventRef event = CGEventCreateScrollWheelEvent2(nullptr, kCGScrollEventUnitLine, 3, 0, 0, 0);
  CGEventSetIntegerValueField(event, kCGScrollWheelEventIsContinuous, continuity);
  CGEventSetIntegerValueField(event, kCGScrollWheelEventScrollPhase, phase);
  CGEventSetIntegerValueField(event, kCGScrollWheelEventMomentumPhase, momentum);
  for (const Axis& axis : axes) {
    CGEventSetIntegerValueField(event, axis.line, axis.lineDelta);
    CGEventSetDoubleValueField(event, axis.fixedPt, axis.fixedPtDelta);
    CGEventSetIntegerValueField(event, axis.point, axis.pointDelta);
  }
  return event;
}

TEST(MacScrollEvents, TheTapRewritesRealEventsByTheirFields) {
  struct Row {
    const char* name;
    int64_t continuity, phase, momentum;
    ScrollConfiguration config;
    bool vertical, horizontal;  // reversed
  };
  constexpr ScrollConfiguration vertical{true, false, false}, horizontal{false, true, false},
      both{true, true, false}, smooth{true, true, true};
  const Row rows[] = {
      {"wheel, vertical", 0, 0, 0, vertical, true, false},
      {"wheel, horizontal", 0, 0, 0, horizontal, false, true},
      {"wheel, both", 0, 0, 0, both, true, true},
      {"phased", 1, 2, 0, smooth, false, false},
      {"momentum", 1, 0, 3, smooth, false, false},
      {"continuous", 1, 0, 0, both, false, false},
      {"continuous, smooth wheel", 1, 0, 0, smooth, true, true},
  };
  const std::shared_ptr<EventTapServices> services = makeMacEventTapServices();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    struct Switches {
      ScrollConfiguration config;
      mutable int calls = 0;
    };
    const auto switches = std::make_shared<const Switches>(Switches{row.config});
    const auto read = [](const void* context) noexcept {
      const auto* s = static_cast<const Switches*>(context);
      ++s->calls;
      return s->config;
    };
    const auto tap = ScrollEventTap::create(services, {read, switches.get(), switches});
    CGEventRef event = makeScrollEvent(row.continuity, row.phase, row.momentum);
    const auto ref = reinterpret_cast<EventRef>(event);
    EXPECT_EQ(tap->handleTapEvent(kCGEventScrollWheel, ref), ref);
    EXPECT_EQ(switches->calls, 1);
    EXPECT_EQ(CGEventGetIntegerValueField(event, kCGScrollWheelEventIsContinuous), row.continuity);
    EXPECT_EQ(CGEventGetIntegerValueField(event, kCGScrollWheelEventScrollPhase), row.phase);
    EXPECT_EQ(CGEventGetIntegerValueField(event, kCGScrollWheelEventMomentumPhase), row.momentum);
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

// The run-loop half of starting and stopping a tap, on a plain port: the source joins and leaves
// the main run loop in the common modes, each release gives up exactly one reference, and the
// port is invalidated.
TEST(MacScrollEvents, SourcesJoinAndLeaveTheMainRunLoopAndReleasesCountOnce) {
  const std::shared_ptr<EventTapServices> services = makeMacEventTapServices();
  CFMachPortRef port = CFMachPortCreate(kCFAllocatorDefault, onPortMessage, nullptr, nullptr);
  ASSERT_NE(port, nullptr);
  const auto portRef = reinterpret_cast<MachPortRef>(port);
  const RunLoopSourceRef sourceRef = services->machPortCreateRunLoopSource(portRef, 0);
  ASSERT_NE(sourceRef, nullptr);
  const auto source = reinterpret_cast<CFRunLoopSourceRef>(sourceRef);

  const RunLoopRef mainLoop = services->mainRunLoop();
  EXPECT_EQ(reinterpret_cast<CFRunLoopRef>(mainLoop), CFRunLoopGetMain());
  services->runLoopAddSource(mainLoop, sourceRef, RunLoopMode::commonModes);
  EXPECT_TRUE(CFRunLoopContainsSource(CFRunLoopGetMain(), source, kCFRunLoopCommonModes));
  EXPECT_TRUE(CFRunLoopContainsSource(CFRunLoopGetMain(), source, kCFRunLoopDefaultMode));
  services->runLoopRemoveSource(mainLoop, sourceRef, RunLoopMode::commonModes);
  EXPECT_FALSE(CFRunLoopContainsSource(CFRunLoopGetMain(), source, kCFRunLoopCommonModes));

  // The test keeps references of its own, so that the counts can be read after each release.
  CFRetain(source);
  CFRetain(port);
  const CFIndex sourceCount = CFGetRetainCount(source), portCount = CFGetRetainCount(port);
  services->release(sourceRef);
  services->release(portRef);
  EXPECT_EQ(CFGetRetainCount(source), sourceCount - 1);
  EXPECT_EQ(CFGetRetainCount(port), portCount - 1);
  services->machPortInvalidate(portRef);
  EXPECT_FALSE(CFMachPortIsValid(port));
  CFRelease(source);
  CFRelease(port);
}

// A posted wheel event with no delta reaches the tap and scrolls nothing.
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
  EXPECT_TRUE(tap->isRunning());
  EXPECT_TRUE(tap->hasPort());
  EXPECT_TRUE(tap->hasRunLoopSource());

  CGEventRef event = CGEventCreateScrollWheelEvent2(nullptr, kCGScrollEventUnitLine, 1, 0, 0, 0);
  ASSERT_NE(event, nullptr);
  CGEventPost(kCGHIDEventTap, event);
  CFRelease(event);
  EXPECT_TRUE(runLoopUntil(NSDefaultRunLoopMode, 2.0, [&counter] { return counter->calls > 0; }));

  tap->stop();
  EXPECT_FALSE(tap->isRunning());
  EXPECT_FALSE(tap->hasPort());
  EXPECT_FALSE(tap->hasRunLoopSource());
  tap->stop();  // a second stop finds nothing to release
}

}  // namespace
}  // namespace wheelright
