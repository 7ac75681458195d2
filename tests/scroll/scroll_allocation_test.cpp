// The per-event path must not touch the heap: it runs for every scroll event of the desktop.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "fakes/fake_platform.h"
#include "scroll/event_fields.h"
#include "scroll/scroll_event_tap.h"

namespace {
std::atomic<long> allocations{0};
}

void* operator new(std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace wheelright {
namespace {

// Fields in a flat array, as a real event keeps them; no map nodes to allocate.
struct FlatEvent {
  std::int64_t integers[128] = {};
  double doubles[128] = {};
};

class FlatEventTaps final : public EventTapServices {
 public:
  MachPortRef tapCreate(TapLocation, TapPlacement, TapOptions, EventMask, EventTapCallback,
                        void*) override {
    return reinterpret_cast<MachPortRef>(&port_);
  }
  RunLoopSourceRef machPortCreateRunLoopSource(MachPortRef, std::int64_t) override {
    return reinterpret_cast<RunLoopSourceRef>(&source_);
  }
  RunLoopRef mainRunLoop() override { return nullptr; }
  void runLoopAddSource(RunLoopRef, RunLoopSourceRef, RunLoopMode) override {}
  void runLoopRemoveSource(RunLoopRef, RunLoopSourceRef, RunLoopMode) override {}
  void tapEnable(MachPortRef, bool enable) override { enabled_ = enable; }
  bool tapIsEnabled(MachPortRef) override { return enabled_; }
  void machPortInvalidate(MachPortRef) override {}
  void release(MachPortRef) override {}
  void release(RunLoopSourceRef) override {}
  std::int64_t eventIntegerValue(EventRef e, EventField id) override { return flat(e).integers[id]; }
  double eventDoubleValue(EventRef e, EventField id) override { return flat(e).doubles[id]; }
  void eventSetIntegerValue(EventRef e, EventField id, std::int64_t v) override {
    flat(e).integers[id] = v;
  }
  void eventSetDoubleValue(EventRef e, EventField id, double v) override { flat(e).doubles[id] = v; }

 private:
  static FlatEvent& flat(EventRef e) { return *reinterpret_cast<FlatEvent*>(e); }
  int port_ = 0, source_ = 0;
  bool enabled_ = false;
};

struct Owner {
  bool reverseVertical = true, reverseHorizontal = true, smooth = false;
};

TEST(ScrollAllocation, ThePerEventPathAllocatesNothing) {
  auto owner = std::make_shared<Owner>();
  std::weak_ptr<Owner> weakOwner = owner;
  auto tap = ScrollEventTap::create(std::make_shared<FlatEventTaps>(), [weakOwner] {
    if (auto o = weakOwner.lock()) {
      return ScrollConfiguration{o->reverseVertical, o->reverseHorizontal, o->smooth};
    }
    return settingsDefaultConfiguration;
  });
  tap->start();
  FlatEvent wheel, trackpad;
  wheel.integers[field::deltaAxis1] = 1;
  trackpad.integers[field::scrollPhase] = 2;
  auto* ref = reinterpret_cast<EventRef>(&wheel);
  auto* trackpadRef = reinterpret_cast<EventRef>(&trackpad);

  const long before = allocations.load();
  for (int i = 0; i < 100000; ++i) {
    scrollTapCallback(nullptr, event_type::scrollWheel, ref, tap.get());
    scrollTapCallback(nullptr, event_type::scrollWheel, trackpadRef, tap.get());
    scrollTapCallback(nullptr, event_type::tapDisabledByTimeout, ref, tap.get());
    scrollTapCallback(nullptr, 1, ref, tap.get());
  }
  const long during = allocations.load() - before;
  EXPECT_EQ(during, 0);
  EXPECT_EQ(wheel.integers[field::deltaAxis1], 1) << "an even number of reversals";

  // The counter itself works: the same process does see allocations elsewhere.
  auto probe = std::make_unique<int>(1);
  EXPECT_GT(allocations.load(), before);
}

}  // namespace
}  // namespace wheelright
