#pragma once
// Quartz event taps and the Core Foundation run-loop calls that install them, plus the four
// scroll-event field accessors. Shaped call for call after CGEventTapCreate,
// CFMachPortCreateRunLoopSource, CFRunLoopGetMain, CFRunLoopAdd/RemoveSource, CGEventTapEnable,
// CGEventTapIsEnabled, CFMachPortInvalidate, CFRelease and CGEvent{Get,Set}{Integer,Double}ValueField.
// Main thread only.

#include <cstdint>

namespace wheelright {

// Opaque platform handles: a CFMachPortRef, CFRunLoopSourceRef, CFRunLoopRef and CGEventRef on
// macOS; simulator objects elsewhere.
using MachPortRef = struct OpaqueMachPort*;
using RunLoopSourceRef = struct OpaqueRunLoopSource*;
using RunLoopRef = struct OpaqueRunLoop*;
using EventRef = struct OpaqueEvent*;
using EventTapProxy = struct OpaqueEventTapProxy*;

using EventType = std::uint32_t;  // CGEventType
using EventField = std::uint32_t;  // CGEventField
using EventMask = std::uint64_t;  // CGEventMask

// CGEventTapCallBack; it runs between C frames, so it must not throw.
using EventTapCallback = EventRef (*)(EventTapProxy proxy, EventType type, EventRef event,
                                      void* userInfo) noexcept;

// The Quartz field ids and event types that Wheelright reads, writes or answers.
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

enum class TapLocation : std::uint32_t { hid = 0, session = 1, annotatedSession = 2 };
enum class TapPlacement : std::uint32_t { headInsert = 0, tailAppend = 1 };
enum class TapOptions : std::uint32_t { defaultFilter = 0, listenOnly = 1 };
enum class RunLoopMode { defaultMode, commonModes };

class EventTapServices {
 public:
  virtual ~EventTapServices() = default;

  // CGEventTapCreate: a new port owned by the caller (+1), or null when no tap can be made.
  virtual MachPortRef tapCreate(TapLocation location, TapPlacement placement, TapOptions options,
                                EventMask eventsOfInterest, EventTapCallback callback,
                                void* userInfo) = 0;
  // CFMachPortCreateRunLoopSource(kCFAllocatorDefault, port, order): owned by the caller, or null.
  virtual RunLoopSourceRef machPortCreateRunLoopSource(MachPortRef port, std::int64_t order) = 0;
  // CFRunLoopGetMain.
  virtual RunLoopRef mainRunLoop() = 0;
  virtual void runLoopAddSource(RunLoopRef runLoop, RunLoopSourceRef source, RunLoopMode mode) = 0;
  virtual void runLoopRemoveSource(RunLoopRef runLoop, RunLoopSourceRef source,
                                   RunLoopMode mode) = 0;
  // Also called from the tap callback, like the four field operations: none of them throws.
  virtual void tapEnable(MachPortRef port, bool enable) noexcept = 0;
  virtual bool tapIsEnabled(MachPortRef port) = 0;
  virtual void machPortInvalidate(MachPortRef port) = 0;
  // CFRelease of a handle that the caller owns.
  virtual void release(MachPortRef port) = 0;
  virtual void release(RunLoopSourceRef source) = 0;

  // The scroll-event fields, read and written in place.
  virtual std::int64_t eventIntegerValue(EventRef event, EventField field) noexcept = 0;
  virtual double eventDoubleValue(EventRef event, EventField field) noexcept = 0;
  virtual void eventSetIntegerValue(EventRef event, EventField field,
                                    std::int64_t value) noexcept = 0;
  virtual void eventSetDoubleValue(EventRef event, EventField field, double value) noexcept = 0;
};

}  // namespace wheelright
