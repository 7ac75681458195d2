// The cost of one poll that finds nothing changed, as the application runs it all day every 1.5 s:
// the timer's main-thread task, both probes, the evaluation, its announcements and the scheduled
// update that finds nothing to show. Over the simulated desktop, whose call log (kept off here)
// still builds its lines, so the allocations count those too.

#include <benchmark/benchmark.h>

#include <memory>

#include "idle_poll_bench.h"
#include "menubar/wheelright_app.h"
#include "platform/sim/sim_desktop.h"
#include "support/allocation_counter.h"

namespace wheelright {
namespace {

// An application that is active and past its checklist, with the first polls behind it.
struct IdleApp {
  std::shared_ptr<sim::SimDesktop> desktop = sim::SimDesktop::create();
  std::shared_ptr<WheelrightApp> app;
  IdleApp() {
    desktop->log().setKeepsHistory(false);
    desktop->system().setTrusted(true);
    desktop->userDefaultsStore().setBool(true, "hasShownNaturalScrollOnboarding");
    app = WheelrightApp::create(desktop->platform());
    poll();
    poll();
  }
  void poll() { desktop->advance(1.5); }
};

void BM_IdlePoll(benchmark::State& state) {
  IdleApp idle;
  for (auto _ : state) idle.poll();
}
BENCHMARK(BM_IdlePoll)->MinTime(0.01);

}  // namespace

std::size_t allocationsPerIdlePoll() {
  IdleApp idle;
  const std::size_t before = allocationCount();
  idle.poll();
  return allocationCount() - before;
}

}  // namespace wheelright
