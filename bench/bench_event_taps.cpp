#include "bench_event_taps.h"

namespace wheelright {
namespace {

class BenchEventTaps final : public EventTapServices {
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
  void tapEnable(MachPortRef, bool enable) noexcept override { enabled_ = enable; }
  bool tapIsEnabled(MachPortRef) override { return enabled_; }
  void machPortInvalidate(MachPortRef) override {}
  void release(MachPortRef) override {}
  void release(RunLoopSourceRef) override {}
  std::int64_t eventIntegerValue(EventRef e, EventField id) noexcept override { return at(e).integers[id & 127]; }
  double eventDoubleValue(EventRef e, EventField id) noexcept override { return at(e).doubles[id & 127]; }
  void eventSetIntegerValue(EventRef e, EventField id, std::int64_t v) noexcept override {
    at(e).integers[id & 127] = v;
  }
  void eventSetDoubleValue(EventRef e, EventField id, double v) noexcept override { at(e).doubles[id & 127] = v; }

 private:
  static BenchEvent& at(EventRef e) { return *reinterpret_cast<BenchEvent*>(e); }
  int port_ = 0, source_ = 0;
  bool enabled_ = false;
};

}  // namespace

std::shared_ptr<EventTapServices> makeBenchEventTaps() { return std::make_shared<BenchEventTaps>(); }

}  // namespace wheelright
