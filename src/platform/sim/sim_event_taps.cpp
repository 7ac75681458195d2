#include "platform/sim/sim_event_taps.h"

#include <cinttypes>
#include <cstdio>
#include <string>

namespace wheelright::sim {
namespace {

const char* modeName(RunLoopMode mode) {
  return mode == RunLoopMode::commonModes ? "common" : "default";
}

template <typename Ref>
Ref toRef(std::uintptr_t id) {
  // NOLINTNEXTLINE(performance-no-int-to-ptr): a handle is a number that is never dereferenced
  return reinterpret_cast<Ref>(id);
}

std::uintptr_t toId(const void* ref) { return reinterpret_cast<std::uintptr_t>(ref); }

}  // namespace

MachPortRef SimEventTaps::tapCreate(TapLocation location, TapPlacement placement,
                                    TapOptions options, EventMask eventsOfInterest,
                                    EventTapCallback callback, void* userInfo) {
  char line[128];
  std::snprintf(line, sizeof line, "tapCreate location=%u placement=%u options=%u mask=0x%" PRIx64,
                static_cast<unsigned>(location), static_cast<unsigned>(placement),
                static_cast<unsigned>(options), static_cast<std::uint64_t>(eventsOfInterest));
  log_.call(line);
  if (creationFailure_ == CreationFailure::tap) return nullptr;
  // The system refuses an active filter to a process that it does not trust.
  if (options == TapOptions::defaultFilter && !system_.trusted()) return nullptr;
  handles_[++lastHandle_] = {.mask = eventsOfInterest, .callback = callback, .userInfo = userInfo};
  return toRef<MachPortRef>(lastHandle_);
}

RunLoopSourceRef SimEventTaps::machPortCreateRunLoopSource(MachPortRef ref, std::int64_t order) {
  log_.call("machPortCreateRunLoopSource order=" + std::to_string(order));
  find(ref, "machPortCreateRunLoopSource");
  if (creationFailure_ == CreationFailure::source) return nullptr;
  handles_[++lastHandle_] = {.isSource = true, .port = toId(ref)};
  return toRef<RunLoopSourceRef>(lastHandle_);
}

void SimEventTaps::runLoopAddSource(RunLoopRef runLoop, RunLoopSourceRef ref, RunLoopMode mode) {
  log_.call(std::string("runLoopAddSource mode=") + modeName(mode));
  if (runLoop != mainRunLoop()) DesktopLog::fault("runLoopAddSource: not the main run loop");
  find(ref, "runLoopAddSource").mode = mode;
}

void SimEventTaps::runLoopRemoveSource(RunLoopRef /*runLoop*/, RunLoopSourceRef ref,
                                       RunLoopMode mode) {
  log_.call(std::string("runLoopRemoveSource mode=") + modeName(mode));
  Handle& source = find(ref, "runLoopRemoveSource");
  if (source.mode == mode) source.mode.reset();  // removing from another mode does nothing
}

void SimEventTaps::tapEnable(MachPortRef ref, bool enable) noexcept {
  log_.call(enable ? "tapEnable true" : "tapEnable false");
  find(ref, "tapEnable").isEnabled = enable;
}

bool SimEventTaps::tapIsEnabled(MachPortRef ref) {
  log_.call("tapIsEnabled");
  const Handle& port = find(ref, "tapIsEnabled");
  return port.isValid && port.isEnabled;
}

void SimEventTaps::machPortInvalidate(MachPortRef ref) {
  log_.call("machPortInvalidate");
  find(ref, "machPortInvalidate").isValid = false;
}

void SimEventTaps::releaseHandle(const void* ref, const char* call) {
  log_.call(call);
  find(ref, "release");
  handles_.erase(toId(ref));
}

std::optional<SimEvent> SimEventTaps::inject(const SimEvent& event) {
  SimEvent working = event;
  EventRef current = toEventRef(working);
  // Oldest tap first. A callback may add or release handles, so each step looks the next one up.
  std::uintptr_t previous = 0;
  for (auto it = handles_.upper_bound(0); it != handles_.end();
       it = handles_.upper_bound(previous)) {
    previous = it->first;
    const Handle& port = it->second;
    const EventType type = toSimEvent(current).type;
    const bool isInterested = type < 64 && ((port.mask >> type) & 1u) != 0;
    if (port.isSource || !port.isValid || !port.isEnabled || port.isDeaf || !isInterested || !runsNow(previous)) {
      continue;
    }
    current = port.callback(toRef<EventTapProxy>(previous), type, current, port.userInfo);
    if (current == nullptr) return std::nullopt;
  }
  SimEvent delivered = toSimEvent(current);
  if (sink_) sink_(delivered);
  return delivered;
}

void SimEventTaps::disableTap(MachPortRef ref, DisableReason reason) {
  Handle& port = find(ref, "disableTap");
  port.isEnabled = false;
  if (reason == DisableReason::silent || !port.isValid || !runsNow(toId(ref))) return;
  SimEvent notification =
      SimEvent::ofType(reason == DisableReason::timeout ? event_type::tapDisabledByTimeout
                                                        : event_type::tapDisabledByUserInput);
  port.callback(toRef<EventTapProxy>(toId(ref)), notification.type, toEventRef(notification),
                port.userInfo);
}

void SimEventTaps::deafenTap(MachPortRef ref) {
  find(ref, "deafenTap").isDeaf = true;
}

MachPortRef SimEventTaps::newestTap() const {
  for (auto it = handles_.rbegin(); it != handles_.rend(); ++it) {
    if (!it->second.isSource && it->second.isValid) return toRef<MachPortRef>(it->first);
  }
  return nullptr;
}

SimEventTaps::TapState SimEventTaps::tapState(MachPortRef ref) const {
  const auto found = handles_.find(toId(ref));
  if (found == handles_.end() || !found->second.isValid) return TapState::idle;
  return found->second.isEnabled ? TapState::running : TapState::disabled;
}

SimEventTaps::Handle& SimEventTaps::find(const void* ref, const char* operation) {
  const auto found = handles_.find(toId(ref));
  if (found == handles_.end()) {
    DesktopLog::fault(std::string(operation) + ": the handle was released, or never made here");
  }
  return found->second;
}

bool SimEventTaps::runsNow(std::uintptr_t port) const {
  // The common modes hold the default mode and the modal panel mode that an alert runs in.
  for (const auto& [id, source] : handles_) {
    if (source.isSource && source.port == port && source.mode &&
        (*source.mode == RunLoopMode::commonModes || !runLoop_.isModal())) {
      return true;
    }
  }
  return false;
}

}  // namespace wheelright::sim
