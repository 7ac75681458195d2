// The cost of the per-event path against two floors: the field work alone, and the field work plus
// the lifetime work that every event needs (one strong reference to the tap, one weak load of the
// owner and its switches). Prints nanoseconds per event and the path's ratio to each floor,
// then the time and allocations of one idle poll (idle_poll_bench.cpp).

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "bench_event_taps.h"
#include "idle_poll_bench.h"
#include "median_runner.h"
#include "scroll/event_fields.h"
#include "scroll/scroll_event_tap.h"

namespace wheelright {
namespace {

// Both axes reversed: the most work a mouse-wheel event can cost.
constexpr ScrollConfiguration bothAxes{.reverseVertical = true, .reverseHorizontal = true};

// Stands in for the application model: the provider reaches the switches through a weak reference.
struct Owner {
  ScrollConfiguration config = bothAxes;
};

struct Fixture {
  std::shared_ptr<Owner> owner = std::make_shared<Owner>();
  std::shared_ptr<EventTapServices> services = makeBenchEventTaps();
  std::shared_ptr<ScrollEventTap> tap;
  BenchEvent event;

  Fixture() {
    // Like the application's provider: the owner held weakly, then its switches.
    tap = ScrollEventTap::create(
        services, {.read = [](const void* context) noexcept {
                     return static_cast<const Owner*>(context)->config;
                   },
                   .context = owner.get(),
                   .owner = owner});
    if (!tap->start()) std::abort();
    event.integers[field::deltaAxis1] = 3;
    event.doubles[field::fixedPtDeltaAxis1] = 3.0;
    event.integers[field::pointDeltaAxis1] = 30;
    event.integers[field::deltaAxis2] = 1;
    event.doubles[field::fixedPtDeltaAxis2] = 1.0;
    event.integers[field::pointDeltaAxis2] = 10;
  }
  EventRef ref() { return reinterpret_cast<EventRef>(&event); }
};

// Where the stack lies within a page decides whether some loads collide with earlier stores to
// addresses 4 KiB apart, which can slow one loop and not another for the life of a process. Each
// repetition therefore runs its loop on a stack moved by a different amount, so that the medians
// compare the code and not one process's luck.
void onShiftedStack(benchmark::State& state, void (*body)(benchmark::State&)) {
  static std::size_t shift = 0;
  shift = (shift + 272) % 4096;
  void* pad = __builtin_alloca(shift + 16);
  benchmark::DoNotOptimize(pad);
  body(state);
}

[[gnu::noinline]] void BM_MouseWheelEventBody(benchmark::State& state) {
  Fixture f;
  EventRef ref = f.ref();
  void* userInfo = f.tap.get();
  for (auto _ : state) {
    benchmark::DoNotOptimize(scrollTapCallback(nullptr, event_type::scrollWheel, ref, userInfo));
    benchmark::ClobberMemory();
  }
}
void BM_MouseWheelEvent(benchmark::State& state) { onShiftedStack(state, BM_MouseWheelEventBody); }
BENCHMARK(BM_MouseWheelEvent)->MinTime(0.01);

[[gnu::noinline]] void BM_TrackpadEventBody(benchmark::State& state) {
  Fixture f;
  f.event.integers[field::isContinuous] = 1;
  f.event.integers[field::scrollPhase] = 2;
  EventRef ref = f.ref();
  void* userInfo = f.tap.get();
  for (auto _ : state) {
    benchmark::DoNotOptimize(scrollTapCallback(nullptr, event_type::scrollWheel, ref, userInfo));
    benchmark::ClobberMemory();
  }
}
void BM_TrackpadEvent(benchmark::State& state) { onShiftedStack(state, BM_TrackpadEventBody); }
BENCHMARK(BM_TrackpadEvent)->MinTime(0.01);

// The three classification reads.
inline void classificationReads(EventTapServices& s, EventRef e) {
  benchmark::DoNotOptimize(s.eventIntegerValue(e, field::isContinuous));
  benchmark::DoNotOptimize(s.eventIntegerValue(e, field::scrollPhase));
  benchmark::DoNotOptimize(s.eventIntegerValue(e, field::momentumPhase));
}

// Each configured axis read whole, then written back negated.
inline void reverseAxis(EventTapServices& s, EventRef e, EventField lineField, EventField fixedField,
                        EventField pointField) {
  const auto line = s.eventIntegerValue(e, lineField);
  const auto fixed = s.eventDoubleValue(e, fixedField);
  const auto point = s.eventIntegerValue(e, pointField);
  s.eventSetIntegerValue(e, lineField, -line);
  s.eventSetDoubleValue(e, fixedField, -fixed);
  s.eventSetIntegerValue(e, pointField, -point);
}

inline void reversal(EventTapServices& s, EventRef e, const ScrollConfiguration& c) {
  if (c.reverseVertical) reverseAxis(s, e, field::deltaAxis1, field::fixedPtDeltaAxis1, field::pointDeltaAxis1);
  if (c.reverseHorizontal) reverseAxis(s, e, field::deltaAxis2, field::fixedPtDeltaAxis2, field::pointDeltaAxis2);
}

[[gnu::noinline]] void BM_FieldAccessFloorBody(benchmark::State& state) {
  Fixture f;
  EventTapServices* services = f.services.get();
  benchmark::DoNotOptimize(services);  // keep the calls virtual, as on the path
  EventRef ref = f.ref();
  for (auto _ : state) {
    classificationReads(*services, ref);
    reversal(*services, ref, bothAxes);
    benchmark::ClobberMemory();
  }
}
void BM_FieldAccessFloor(benchmark::State& state) { onShiftedStack(state, BM_FieldAccessFloorBody); }
BENCHMARK(BM_FieldAccessFloor)->MinTime(0.01);

[[gnu::noinline]] void BM_LifetimeFloorBody(benchmark::State& state) {
  Fixture f;
  EventTapServices* services = f.services.get();
  benchmark::DoNotOptimize(services);
  EventRef ref = f.ref();
  ScrollEventTap* tapAddress = f.tap.get();
  benchmark::DoNotOptimize(tapAddress);
  const std::weak_ptr<Owner> weakOwner(f.owner);
  const Owner* ownerAddress = f.owner.get();
  // The lifetime work sits where every event needs it: the tap is held for the whole event, and
  // the switches can only be read once the classification fields have been read.
  for (auto _ : state) {
    const std::shared_ptr<ScrollEventTap> strongTap = tapAddress->weak_from_this().lock();
    benchmark::DoNotOptimize(strongTap.get());
    classificationReads(*services, ref);
    ScrollConfiguration config;
    if (!weakOwner.expired()) {
      config = ownerAddress->config;
    }
    reversal(*services, ref, config);
    benchmark::ClobberMemory();
  }
}
void BM_LifetimeFloor(benchmark::State& state) { onShiftedStack(state, BM_LifetimeFloorBody); }
BENCHMARK(BM_LifetimeFloor)->MinTime(0.01);

}  // namespace
}  // namespace wheelright

int main(int argc, char** argv) {
  const auto medians = wheelright::runForMedians(argc, argv, 201);
  if (!medians) return 1;
  const auto median = [&medians](const char* name) {
    const auto found = medians->find(name);
    return found == medians->end() ? 0.0 : found->second;
  };
  const double wheel = median("BM_MouseWheelEvent");
  const double fieldFloor = median("BM_FieldAccessFloor");
  const double lifetimeFloor = median("BM_LifetimeFloor");
  std::printf("\nmedian ns per event: mouse wheel %.2f, trackpad %.2f, field floor %.2f, lifetime floor %.2f\n",
              wheel, median("BM_TrackpadEvent"), fieldFloor, lifetimeFloor);
  if (fieldFloor > 0 && lifetimeFloor > 0) {
    std::printf("mouse wheel / field floor: %.3f\nmouse wheel / lifetime floor: %.3f\n",
                wheel / fieldFloor, wheel / lifetimeFloor);
  }
  std::printf("idle poll: median %.0f ns, %zu allocations\n", median("BM_IdlePoll"),
              wheelright::allocationsPerIdlePoll());
  return 0;
}
