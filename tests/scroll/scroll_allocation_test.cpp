// The per-event path must not touch the heap: it runs for every scroll event of the desktop.
// Measured on the application itself, over the simulated desktop, with its real provider.

#include <gtest/gtest.h>

#include <memory>

#include "menubar/wheelright_app.h"
#include "platform/sim/sim_desktop.h"
#include "scroll/event_fields.h"
#include "scroll/scroll_event_tap.h"
#include "support/allocation_counter.h"

namespace wheelright {
namespace {

TEST(ScrollAllocation, ThePerEventPathAllocatesNothing) {
  auto desktop = sim::SimDesktop::create();
  desktop->system().setTrusted(true);
  auto app = WheelrightApp::create(desktop->platform());
  desktop->runPending();
  ASSERT_EQ(app->model().status(), AppModel::Status::active());
  for (const ScrollSwitch& which : scrollSwitches) app->model().settings().set(which, true);

  void* userInfo = &app->model().eventTap();
  sim::SimEvent wheel = sim::SimEvent::mouseWheel(1, 1);
  sim::SimEvent trackpad = sim::SimEvent::trackpad(5);
  sim::SimEvent other = sim::SimEvent::ofType(1);

  // (The re-enabling after a tap-disabled notification is left out: the simulator writes each
  // platform call to its log, which allocates; the path itself adds nothing there either.)
  const std::size_t before = allocationCount();
  for (int i = 0; i < 100000; ++i) {
    scrollTapCallback(nullptr, event_type::scrollWheel, sim::toEventRef(wheel), userInfo);
    scrollTapCallback(nullptr, event_type::scrollWheel, sim::toEventRef(trackpad), userInfo);
    scrollTapCallback(nullptr, 1, sim::toEventRef(other), userInfo);
  }
  EXPECT_EQ(allocationCount() - before, 0u);
  EXPECT_EQ(wheel.integerValue(field::deltaAxis1), 1) << "an even number of reversals";
  EXPECT_EQ(wheel.integerValue(field::deltaAxis2), 1);

  // The counter itself works: the same process does see allocations elsewhere.
  auto probe = std::make_unique<int>(1);
  EXPECT_GT(allocationCount(), before);
}

}  // namespace
}  // namespace wheelright
