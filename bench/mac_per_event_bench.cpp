// The per-event path on a real CGEvent, through the macOS field accessors, against its floor: the
// same three classification reads and the reads and writes of two reversed axes made directly
// with the Quartz calls. Prints nanoseconds per event and the ratio of the path to the floor.

#include <ApplicationServices/ApplicationServices.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

#include "median_runner.h"
#include "platform/macos/mac_services.h"
#include "scroll/scroll_event_tap.h"

namespace wheelright {
namespace {

// A mouse-wheel notch on both axes; each pass negates the deltas, so they alternate in sign.
CGEventRef makeWheelEvent() {
  CGEventRef event = CGEventCreateScrollWheelEvent2(nullptr, kCGScrollEventUnitLine, 2, 3, 1, 0);
  CGEventSetDoubleValueField(event, kCGScrollWheelEventFixedPtDeltaAxis1, 3.0);
  CGEventSetIntegerValueField(event, kCGScrollWheelEventPointDeltaAxis1, 30);
  CGEventSetDoubleValueField(event, kCGScrollWheelEventFixedPtDeltaAxis2, 1.0);
  CGEventSetIntegerValueField(event, kCGScrollWheelEventPointDeltaAxis2, 10);
  return event;
}

void BM_HandleTapEvent(benchmark::State& state) {
  const auto both =
      std::make_shared<const ScrollConfiguration>(ScrollConfiguration{true, true, false});
  const auto read = [](const void* config) noexcept {
    return *static_cast<const ScrollConfiguration*>(config);
  };
  const std::shared_ptr<ScrollEventTap> tap =
      ScrollEventTap::create(makeMacEventTapServices(), {read, both.get(), both});
  CGEventRef event = makeWheelEvent();
  const auto ref = reinterpret_cast<EventRef>(event);
  for (auto _ : state) {
    benchmark::DoNotOptimize(tap->handleTapEvent(kCGEventScrollWheel, ref));
    benchmark::ClobberMemory();
  }
  CFRelease(event);
}
BENCHMARK(BM_HandleTapEvent)->MinTime(0.01);

void reverseAxis(CGEventRef event, CGEventField line, CGEventField fixedPt, CGEventField point) {
  const int64_t lineDelta = CGEventGetIntegerValueField(event, line);
  const double fixedPtDelta = CGEventGetDoubleValueField(event, fixedPt);
  const int64_t pointDelta = CGEventGetIntegerValueField(event, point);
  CGEventSetIntegerValueField(event, line, -lineDelta);
  CGEventSetDoubleValueField(event, fixedPt, -fixedPtDelta);
  CGEventSetIntegerValueField(event, point, -pointDelta);
}

void BM_FieldCallsFloor(benchmark::State& state) {
  CGEventRef event = makeWheelEvent();
  for (auto _ : state) {
    benchmark::DoNotOptimize(CGEventGetIntegerValueField(event, kCGScrollWheelEventIsContinuous));
    benchmark::DoNotOptimize(CGEventGetIntegerValueField(event, kCGScrollWheelEventScrollPhase));
    benchmark::DoNotOptimize(CGEventGetIntegerValueField(event, kCGScrollWheelEventMomentumPhase));
    reverseAxis(event, kCGScrollWheelEventDeltaAxis1, kCGScrollWheelEventFixedPtDeltaAxis1,
                kCGScrollWheelEventPointDeltaAxis1);
    reverseAxis(event, kCGScrollWheelEventDeltaAxis2, kCGScrollWheelEventFixedPtDeltaAxis2,
                kCGScrollWheelEventPointDeltaAxis2);
    benchmark::ClobberMemory();
  }
  CFRelease(event);
}
BENCHMARK(BM_FieldCallsFloor)->MinTime(0.01);

}  // namespace
}  // namespace wheelright

int main(int argc, char** argv) {
  const auto medians = wheelright::runForMedians(argc, argv, 51);
  if (!medians) return 1;
  const auto median = [&medians](const char* name) {
    const auto found = medians->find(name);
    return found == medians->end() ? 0.0 : found->second;
  };
  const double path = median("BM_HandleTapEvent");
  const double floor = median("BM_FieldCallsFloor");
  std::printf("\nmedian ns per event: handleTapEvent %.2f, CG field calls %.2f\n", path, floor);
  if (floor > 0) std::printf("handleTapEvent / CG field calls: %.3f\n", path / floor);
  return 0;
}
