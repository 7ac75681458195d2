#pragma once
// The rewriting rule: a scroll-wheel event from a mouse wheel gets the deltas of the configured
// axes negated in place; phased, momentum and (unless configured) continuous events pass as they
// are. Written against EventFieldAccess so it runs on a CGEventRef, a simulated event or a struct.

#include <cstdint>
#include <limits>

#include "scroll/event_fields.h"
#include "scroll/scroll_configuration.h"

namespace wheelright {

// Negation of a line or point delta. The most negative value has no negation; it saturates to
// the largest positive value, which keeps the direction reversed.
constexpr std::int64_t negatedDelta(std::int64_t value) {
  return value == std::numeric_limits<std::int64_t>::min() ? std::numeric_limits<std::int64_t>::max()
                                                           : -value;
}

// Negates line, fixed-point and point delta of the chosen axes: vertical first, each axis read
// whole before its first write.
template <EventFieldAccess E>
void reverseDeltas(E& event, bool vertical, bool horizontal) {
  const auto reverseAxis = [&event](EventField line, EventField fixedPt, EventField point) {
    const std::int64_t lineDelta = event.integerValue(line);
    const double fixedPtDelta = event.doubleValue(fixedPt);
    const std::int64_t pointDelta = event.integerValue(point);
    event.setIntegerValue(line, negatedDelta(lineDelta));
    event.setDoubleValue(fixedPt, -fixedPtDelta);
    event.setIntegerValue(point, negatedDelta(pointDelta));
  };
  if (vertical) reverseAxis(field::deltaAxis1, field::fixedPtDeltaAxis1, field::pointDeltaAxis1);
  if (horizontal) reverseAxis(field::deltaAxis2, field::fixedPtDeltaAxis2, field::pointDeltaAxis2);
}

// Whether an event with these three field values counts as a mouse-wheel event.
constexpr bool isMouseWheelEvent(std::int64_t continuity, std::int64_t phase,
                                 std::int64_t momentum, const ScrollConfiguration& config) {
  if (phase != 0 || momentum != 0) return false;
  return continuity == 0 || config.treatContinuousWithoutPhaseAsMouse;
}

// Applies the rule to one scroll-wheel event. The provider is asked exactly once.
template <EventFieldAccess E, typename Provider>
void processScrollEvent(E& event, const Provider& configurationProvider) {
  const std::int64_t continuity = event.integerValue(field::isContinuous);
  const std::int64_t phase = event.integerValue(field::scrollPhase);
  const std::int64_t momentum = event.integerValue(field::momentumPhase);
  const ScrollConfiguration config = configurationProvider();
  if (isMouseWheelEvent(continuity, phase, momentum, config)) {
    reverseDeltas(event, config.reverseVertical, config.reverseHorizontal);
  }
}

}  // namespace wheelright
