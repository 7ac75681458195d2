// The cost of one poll that finds nothing changed, as the application runs it all day every 1.5 s:
// the timer's main-thread task, both probes, the evaluation, its announcements and the scheduled
// update that finds nothing to show. Over the simulated desktop, whose call log (kept off here)
// still builds its lines, so the allocations count those too.

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>

#include "idle_poll_bench.h"
#include "menubar/wheelright_app.h"
#include "platform/sim/sim_desktop.h"

namespace {
std::atomic<std::size_t> allocations{0};
}  // namespace

void* operator new(std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
// GCC 12 at -O2 takes these replacements for a free() of memory from new; they are the pair.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

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
  const std::size_t before = allocations.load();
  idle.poll();
  return allocations.load() - before;
}

}  // namespace wheelright
