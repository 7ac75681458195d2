// The per-event path must not touch the heap: it runs for every scroll event of the desktop.
// Measured on the application itself, over the simulated desktop, with its real provider.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "menubar/wheelright_app.h"
#include "platform/sim/sim_desktop.h"
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

TEST(ScrollAllocation, ThePerEventPathAllocatesNothing) {
  auto desktop = sim::SimDesktop::create();
  desktop->system().setTrusted(true);
  auto app = WheelrightApp::create(desktop->platform());
  desktop->runPending();
  ASSERT_EQ(app->model().status(), AppModel::Status::active());
  app->model().settings().setReverseHorizontal(true);

  void* userInfo = &app->model().eventTap();
  sim::SimEvent wheel = sim::SimEvent::mouseWheel(1, 1);
  sim::SimEvent trackpad = sim::SimEvent::trackpad(5);
  sim::SimEvent other = sim::SimEvent::ofType(1);

  // (The re-enabling after a tap-disabled notification is left out: the simulator writes each
  // platform call to its log, which allocates; the path itself adds nothing there either.)
  const long before = allocations.load();
  for (int i = 0; i < 100000; ++i) {
    scrollTapCallback(nullptr, event_type::scrollWheel, sim::toEventRef(wheel), userInfo);
    scrollTapCallback(nullptr, event_type::scrollWheel, sim::toEventRef(trackpad), userInfo);
    scrollTapCallback(nullptr, 1, sim::toEventRef(other), userInfo);
  }
  EXPECT_EQ(allocations.load() - before, 0);
  EXPECT_EQ(wheel.integerValue(field::deltaAxis1), 1) << "an even number of reversals";
  EXPECT_EQ(wheel.integerValue(field::deltaAxis2), 1);

  // The counter itself works: the same process does see allocations elsewhere.
  auto probe = std::make_unique<int>(1);
  EXPECT_GT(allocations.load(), before);
}

}  // namespace
}  // namespace wheelright
