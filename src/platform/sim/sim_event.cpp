#include "platform/sim/sim_event.h"

#include "platform/event_tap_services.h"

namespace wheelright::sim {

SimEvent SimEvent::ofType(EventType type) {
  SimEvent event;
  event.type = type;
  return event;
}

SimEvent SimEvent::scrollWheel() { return ofType(event_type::scrollWheel); }

SimEvent SimEvent::mouseWheel(std::int64_t lines, std::int64_t horizontalLines) {
  SimEvent event = scrollWheel();
  event.setIntegerValue(field::deltaAxis1, lines);
  event.setDoubleValue(field::fixedPtDeltaAxis1, static_cast<double>(lines));
  event.setIntegerValue(field::pointDeltaAxis1, lines * 10);
  event.setIntegerValue(field::deltaAxis2, horizontalLines);
  event.setDoubleValue(field::fixedPtDeltaAxis2, static_cast<double>(horizontalLines));
  event.setIntegerValue(field::pointDeltaAxis2, horizontalLines * 10);
  return event;
}

SimEvent SimEvent::trackpad(std::int64_t points) {
  SimEvent event = scrollWheel();
  event.setIntegerValue(field::isContinuous, 1);
  event.setIntegerValue(field::scrollPhase, 2);
  event.setIntegerValue(field::pointDeltaAxis1, points);
  return event;
}

}  // namespace wheelright::sim
