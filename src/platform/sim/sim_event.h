#pragma once
// A simulated Quartz event: its type and the scroll-wheel fields, each field read and written in
// the kind it is stored in (integer or double). Fixed arrays indexed by field id keep the field
// accessors on the per-event path free of allocation and search.

#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/event_tap_services.h"

namespace wheelright::sim {

struct SimEvent {
  static constexpr std::size_t fieldCount = 128;  // every scroll-wheel field id lies below

  EventType type = 0;
  std::array<std::int64_t, fieldCount> integers{};
  std::array<double, fieldCount> doubles{};

  // An unknown field reads as 0 and ignores writes, as on the real system.
  std::int64_t integerValue(EventField id) const { return id < fieldCount ? integers[id] : 0; }
  double doubleValue(EventField id) const { return id < fieldCount ? doubles[id] : 0.0; }
  void setIntegerValue(EventField id, std::int64_t value) {
    if (id < fieldCount) integers[id] = value;
  }
  void setDoubleValue(EventField id, double value) {
    if (id < fieldCount) doubles[id] = value;
  }

  // A scroll-wheel event with every field 0.
  static SimEvent scrollWheel();
  // A notched mouse wheel: line delta, equal fixed-point delta, ten times the point delta
  // (the caller keeps ten times the lines within 64 bits).
  static SimEvent mouseWheel(std::int64_t lines, std::int64_t horizontalLines = 0);
  // A phased continuous event as a trackpad sends it (continuous, scroll phase "changed").
  static SimEvent trackpad(std::int64_t points);
  static SimEvent ofType(EventType type);

  friend bool operator==(const SimEvent&, const SimEvent&) = default;
};

// The handle conversions of the simulator; an EventRef always points at a SimEvent.
inline EventRef toEventRef(SimEvent& event) { return reinterpret_cast<EventRef>(&event); }
inline SimEvent& toSimEvent(EventRef event) { return *reinterpret_cast<SimEvent*>(event); }

}  // namespace wheelright::sim
