// EventTapServices over Quartz event taps and the Core Foundation run loop. The opaque handles of
// the interface are the CF objects themselves, reinterpreted; nothing is wrapped or copied.

#include <ApplicationServices/ApplicationServices.h>

#include <cstdint>
#include <memory>
#include <type_traits>
#include <unordered_map>

#include "platform/macos/mac_services.h"

namespace wheelright {
namespace {

// The interface's enumerations carry the raw values of the Quartz constants.
static_assert(static_cast<std::uint32_t>(TapLocation::hid) == kCGHIDEventTap);
static_assert(static_cast<std::uint32_t>(TapLocation::session) == kCGSessionEventTap);
static_assert(static_cast<std::uint32_t>(TapLocation::annotatedSession) ==
              kCGAnnotatedSessionEventTap);
static_assert(static_cast<std::uint32_t>(TapPlacement::headInsert) == kCGHeadInsertEventTap);
static_assert(static_cast<std::uint32_t>(TapPlacement::tailAppend) == kCGTailAppendEventTap);
static_assert(static_cast<std::uint32_t>(TapOptions::defaultFilter) == kCGEventTapOptionDefault);
static_assert(static_cast<std::uint32_t>(TapOptions::listenOnly) == kCGEventTapOptionListenOnly);
static_assert(std::is_same_v<std::underlying_type_t<CGEventType>, EventType>);
static_assert(std::is_same_v<std::underlying_type_t<CGEventField>, EventField>);
static_assert(std::is_same_v<CGEventMask, EventMask>);
// The field ids and event types that the core reads are Quartz's own.
static_assert(field::isContinuous == kCGScrollWheelEventIsContinuous);
static_assert(field::scrollPhase == kCGScrollWheelEventScrollPhase);
static_assert(field::momentumPhase == kCGScrollWheelEventMomentumPhase);
static_assert(field::deltaAxis1 == kCGScrollWheelEventDeltaAxis1);
static_assert(field::deltaAxis2 == kCGScrollWheelEventDeltaAxis2);
static_assert(field::deltaAxis3 == kCGScrollWheelEventDeltaAxis3);
static_assert(field::fixedPtDeltaAxis1 == kCGScrollWheelEventFixedPtDeltaAxis1);
static_assert(field::fixedPtDeltaAxis2 == kCGScrollWheelEventFixedPtDeltaAxis2);
static_assert(field::fixedPtDeltaAxis3 == kCGScrollWheelEventFixedPtDeltaAxis3);
static_assert(field::pointDeltaAxis1 == kCGScrollWheelEventPointDeltaAxis1);
static_assert(field::pointDeltaAxis2 == kCGScrollWheelEventPointDeltaAxis2);
static_assert(field::pointDeltaAxis3 == kCGScrollWheelEventPointDeltaAxis3);
static_assert(event_type::scrollWheel == kCGEventScrollWheel);
static_assert(event_type::tapDisabledByTimeout == kCGEventTapDisabledByTimeout);
static_assert(event_type::tapDisabledByUserInput == kCGEventTapDisabledByUserInput);
static_assert(scrollWheelEventMask == CGEventMaskBit(kCGEventScrollWheel));

CFMachPortRef toCF(MachPortRef port) { return reinterpret_cast<CFMachPortRef>(port); }
CFRunLoopSourceRef toCF(RunLoopSourceRef source) {
  return reinterpret_cast<CFRunLoopSourceRef>(source);
}
CFRunLoopRef toCF(RunLoopRef runLoop) { return reinterpret_cast<CFRunLoopRef>(runLoop); }
CGEventRef toCG(EventRef event) { return reinterpret_cast<CGEventRef>(event); }

CFStringRef toCF(RunLoopMode mode) {
  switch (mode) {
    case RunLoopMode::defaultMode:
      return kCFRunLoopDefaultMode;
    case RunLoopMode::commonModes:
      return kCFRunLoopCommonModes;
  }
  return kCFRunLoopCommonModes;
}

// What the trampoline needs to reach the caller's callback.
struct TapCallbackContext {
  EventTapCallback callback;
  void* userInfo;
};

// Quartz calls back through CGEventTapCallBack, whose type arguments differ in type (though not
// in layout) from EventTapCallback; calling one through a pointer to the other would be
// undefined, so the platform gets this function and it forwards the call unchanged.
CGEventRef tapTrampoline(CGEventTapProxy proxy, CGEventType type, CGEventRef event,
                         void* userInfo) noexcept {
  const auto* context = static_cast<const TapCallbackContext*>(userInfo);
  return toCG(context->callback(reinterpret_cast<EventTapProxy>(proxy), type,
                                reinterpret_cast<EventRef>(event), context->userInfo));
}

class MacEventTapServices final : public EventTapServices {
 public:
  MachPortRef tapCreate(TapLocation location, TapPlacement placement, TapOptions options,
                        EventMask eventsOfInterest, EventTapCallback callback,
                        void* userInfo) override {
    auto context = std::make_unique<TapCallbackContext>(TapCallbackContext{callback, userInfo});
    CFMachPortRef port = CGEventTapCreate(static_cast<CGEventTapLocation>(location),
                                          static_cast<CGEventTapPlacement>(placement),
                                          static_cast<CGEventTapOptions>(options),
                                          eventsOfInterest, tapTrampoline, context.get());
    if (port == nullptr) return nullptr;
    const auto handle = reinterpret_cast<MachPortRef>(port);
    contexts_[handle] = std::move(context);
    return handle;
  }

  RunLoopSourceRef machPortCreateRunLoopSource(MachPortRef port, std::int64_t order) override {
    return reinterpret_cast<RunLoopSourceRef>(
        CFMachPortCreateRunLoopSource(kCFAllocatorDefault, toCF(port), static_cast<CFIndex>(order)));
  }

  RunLoopRef mainRunLoop() override { return reinterpret_cast<RunLoopRef>(CFRunLoopGetMain()); }

  void runLoopAddSource(RunLoopRef runLoop, RunLoopSourceRef source, RunLoopMode mode) override {
    CFRunLoopAddSource(toCF(runLoop), toCF(source), toCF(mode));
  }

  void runLoopRemoveSource(RunLoopRef runLoop, RunLoopSourceRef source,
                           RunLoopMode mode) override {
    CFRunLoopRemoveSource(toCF(runLoop), toCF(source), toCF(mode));
  }

  void tapEnable(MachPortRef port, bool enable) noexcept override { CGEventTapEnable(toCF(port), enable); }

  bool tapIsEnabled(MachPortRef port) override { return CGEventTapIsEnabled(toCF(port)); }

  void machPortInvalidate(MachPortRef port) override { CFMachPortInvalidate(toCF(port)); }

  // The trampoline's context goes with the caller's reference to the port. Callers invalidate a
  // port before releasing it, so no callback can arrive for it afterwards.
  void release(MachPortRef port) override {
    releaseObject(toCF(port));
    contexts_.erase(port);
  }

  void release(RunLoopSourceRef source) override { releaseObject(toCF(source)); }

  std::int64_t eventIntegerValue(EventRef event, EventField field) noexcept override {
    return CGEventGetIntegerValueField(toCG(event), static_cast<CGEventField>(field));
  }

  double eventDoubleValue(EventRef event, EventField field) noexcept override {
    return CGEventGetDoubleValueField(toCG(event), static_cast<CGEventField>(field));
  }

  void eventSetIntegerValue(EventRef event, EventField field, std::int64_t value) noexcept override {
    CGEventSetIntegerValueField(toCG(event), static_cast<CGEventField>(field), value);
  }

  void eventSetDoubleValue(EventRef event, EventField field, double value) noexcept override {
    CGEventSetDoubleValueField(toCG(event), static_cast<CGEventField>(field), value);
  }

 private:
  static void releaseObject(CFTypeRef object) {
    if (object != nullptr) CFRelease(object);
  }

  std::unordered_map<MachPortRef, std::unique_ptr<TapCallbackContext>> contexts_;
};

}  // namespace

std::shared_ptr<EventTapServices> makeMacEventTapServices() {
  return std::make_shared<MacEventTapServices>();
}

}  // namespace wheelright
