#pragma once
// EventFieldAccess: the four field operations through which the rewriting rule sees one event.

#include <concepts>
#include <cstdint>

#include "platform/event_tap_services.h"

namespace wheelright {

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
