#pragma once
// Event field ids and event types of Quartz event services that the rewriting rule uses, and
// EventFieldAccess: the four field operations through which the rule sees one event.

#include <concepts>
#include <cstdint>

#include "platform/event_tap_services.h"

namespace wheelright {

namespace field {
inline constexpr EventField isContinuous = 88;      // kCGScrollWheelEventIsContinuous
inline constexpr EventField scrollPhase = 99;       // kCGScrollWheelEventScrollPhase
inline constexpr EventField momentumPhase = 123;    // kCGScrollWheelEventMomentumPhase
inline constexpr EventField deltaAxis1 = 11;        // kCGScrollWheelEventDeltaAxis1
inline constexpr EventField deltaAxis2 = 12;        // kCGScrollWheelEventDeltaAxis2
inline constexpr EventField deltaAxis3 = 13;        // kCGScrollWheelEventDeltaAxis3
inline constexpr EventField fixedPtDeltaAxis1 = 93;  // kCGScrollWheelEventFixedPtDeltaAxis1
inline constexpr EventField fixedPtDeltaAxis2 = 94;  // kCGScrollWheelEventFixedPtDeltaAxis2
inline constexpr EventField fixedPtDeltaAxis3 = 95;  // kCGScrollWheelEventFixedPtDeltaAxis3
inline constexpr EventField pointDeltaAxis1 = 96;   // kCGScrollWheelEventPointDeltaAxis1
inline constexpr EventField pointDeltaAxis2 = 97;   // kCGScrollWheelEventPointDeltaAxis2
inline constexpr EventField pointDeltaAxis3 = 98;   // kCGScrollWheelEventPointDeltaAxis3
}  // namespace field

namespace event_type {
inline constexpr EventType scrollWheel = 22;                    // kCGEventScrollWheel
inline constexpr EventType tapDisabledByTimeout = 0xFFFFFFFEu;    // kCGEventTapDisabledByTimeout
inline constexpr EventType tapDisabledByUserInput = 0xFFFFFFFFu;  // kCGEventTapDisabledByUserInput
}  // namespace event_type

// CGEventMaskBit(kCGEventScrollWheel): the only type the tap asks for.
inline constexpr EventMask scrollWheelEventMask = EventMask{1} << event_type::scrollWheel;
static_assert(scrollWheelEventMask == 0x400000);

// Integer and double get and set by field id, on one event, changing it in place.
template <typename E>
concept EventFieldAccess = requires(E& event, EventField id, std::int64_t i, double d) {
  { event.integerValue(id) } -> std::same_as<std::int64_t>;
  { event.doubleValue(id) } -> std::same_as<double>;
  event.setIntegerValue(id, i);
  event.setDoubleValue(id, d);
};

// A platform event seen through EventTapServices.
class PlatformEventFields {
 public:
  PlatformEventFields(EventTapServices& services, EventRef event) noexcept
      : services_(&services), event_(event) {}
  std::int64_t integerValue(EventField id) noexcept { return services_->eventIntegerValue(event_, id); }
  double doubleValue(EventField id) noexcept { return services_->eventDoubleValue(event_, id); }
  void setIntegerValue(EventField id, std::int64_t v) noexcept {
    services_->eventSetIntegerValue(event_, id, v);
  }
  void setDoubleValue(EventField id, double v) noexcept { services_->eventSetDoubleValue(event_, id, v); }

 private:
  EventTapServices* services_;
  EventRef event_;
};
static_assert(EventFieldAccess<PlatformEventFields>);

}  // namespace wheelright
