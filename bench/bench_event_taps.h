#pragma once
// Event-tap services over events whose fields live in flat arrays, as a platform event keeps
// them. Defined in a translation unit of its own so that no benchmark can see through the
// virtual calls: the floors pay for field access exactly what the tap's path pays.

#include <cstdint>
#include <memory>

#include "platform/event_tap_services.h"

namespace wheelright {

struct alignas(64) BenchEvent {
  std::int64_t integers[128] = {};
  double doubles[128] = {};
};

std::shared_ptr<EventTapServices> makeBenchEventTaps();

}  // namespace wheelright
