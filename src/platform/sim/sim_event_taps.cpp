#include "platform/sim/sim_event_taps.h"

#include <cinttypes>
#include <cstdio>
#include <iterator>
#include <string>
#include <type_traits>

namespace wheelright::sim {
namespace {

const char* modeName(RunLoopMode mode) {
  return mode == RunLoopMode::commonModes ? "common" : "default";
}

bool isInterested(EventMask mask, EventType type) {
  return type < 64 && ((mask >> type) & 1u) != 0;
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
  ports_[++lastHandle_] =
      Port{.mask = eventsOfInterest, .callback = callback, .userInfo = userInfo};
  return toRef<MachPortRef>(lastHandle_);
}

RunLoopSourceRef SimEventTaps::machPortCreateRunLoopSource(MachPortRef ref, std::int64_t order) {
  log_.call("machPortCreateRunLoopSource order=" + std::to_string(order));
  Port* port = find(ports_, ref, "machPortCreateRunLoopSource");
  if (port == nullptr || !port->isValid || creationFailure_ == CreationFailure::source) {
    return nullptr;
  }
  ++port->retainCount;
  sources_[++lastHandle_] = Source{.port = toId(ref)};
  return toRef<RunLoopSourceRef>(lastHandle_);
}

RunLoopRef SimEventTaps::mainRunLoop() { return reinterpret_cast<RunLoopRef>(&mainRunLoopToken_); }

void SimEventTaps::runLoopAddSource(RunLoopRef runLoop, RunLoopSourceRef ref, RunLoopMode mode) {
  log_.call(std::string("runLoopAddSource mode=") + modeName(mode));
  Source* source = find(sources_, ref, "runLoopAddSource");
  if (source == nullptr || !checkMainRunLoop(runLoop, "runLoopAddSource") || !source->isValid) {
    return;
  }
  if (!source->isAttached()) ++source->retainCount;
  (mode == RunLoopMode::commonModes ? source->inCommonModes : source->inDefaultMode) = true;
}

void SimEventTaps::runLoopRemoveSource(RunLoopRef runLoop, RunLoopSourceRef ref, RunLoopMode mode) {
  log_.call(std::string("runLoopRemoveSource mode=") + modeName(mode));
  Source* source = find(sources_, ref, "runLoopRemoveSource");
  if (source == nullptr || !checkMainRunLoop(runLoop, "runLoopRemoveSource") ||
      !source->isAttached()) {
    return;
  }
  (mode == RunLoopMode::commonModes ? source->inCommonModes : source->inDefaultMode) = false;
  if (!source->isAttached()) releaseSource(toId(ref));
}

void SimEventTaps::tapEnable(MachPortRef ref, bool enable) noexcept {
  log_.call(enable ? "tapEnable true" : "tapEnable false");
  Port* port = find(ports_, ref, "tapEnable");
  if (port != nullptr && port->isValid) port->isEnabled = enable;
}

bool SimEventTaps::tapIsEnabled(MachPortRef ref) {
  log_.call("tapIsEnabled");
  const Port* port = find(ports_, ref, "tapIsEnabled");
  return port != nullptr && port->isValid && port->isEnabled;
}

void SimEventTaps::machPortInvalidate(MachPortRef ref) {
  log_.call("machPortInvalidate");
  Port* port = find(ports_, ref, "machPortInvalidate");
  if (port == nullptr || !port->isValid) return;
  port->isValid = false;
  // Its sources are invalidated too, and the run loop lets go of them.
  for (auto it = sources_.begin(); it != sources_.end();) {
    const auto next = std::next(it);
    Source& source = it->second;
    if (source.port == toId(ref) && source.isValid) {
      source.isValid = false;
      if (source.isAttached()) {
        source.inDefaultMode = source.inCommonModes = false;
        releaseSource(it->first);
      }
    }
    it = next;
  }
}

void SimEventTaps::release(MachPortRef ref) {
  log_.call("release port");
  if (find(ports_, ref, "release") != nullptr) releasePort(toId(ref));
}

void SimEventTaps::release(RunLoopSourceRef ref) {
  log_.call("release source");
  if (find(sources_, ref, "release") != nullptr) releaseSource(toId(ref));
}

std::optional<SimEvent> SimEventTaps::inject(const SimEvent& event) {
  SimEvent working = event;
  EventRef current = toEventRef(working);
  // Oldest tap first. A callback may add or remove taps, so each step looks the next one up.
  std::uintptr_t previous = 0;
  for (auto it = ports_.upper_bound(previous); it != ports_.end();
       it = ports_.upper_bound(previous)) {
    previous = it->first;
    const Port& port = it->second;
    const EventType type = toSimEvent(current).type;
    if (!port.isValid || !port.isEnabled || port.isDeaf || !isInterested(port.mask, type) ||
        !runsNow(it->first)) {
      continue;
    }
    current = port.callback(toRef<EventTapProxy>(it->first), type, current, port.userInfo);
    if (current == nullptr) return std::nullopt;
  }
  SimEvent delivered = toSimEvent(current);
  if (sink_) sink_(delivered);
  return delivered;
}

void SimEventTaps::disableTap(MachPortRef ref, DisableReason reason) {
  Port* port = find(ports_, ref, "disableTap");
  if (port == nullptr || !port->isValid) return;
  port->isEnabled = false;
  if (reason == DisableReason::silent || !runsNow(toId(ref))) return;
  SimEvent notification =
      SimEvent::ofType(reason == DisableReason::timeout ? event_type::tapDisabledByTimeout
                                                        : event_type::tapDisabledByUserInput);
  port->callback(toRef<EventTapProxy>(toId(ref)), notification.type, toEventRef(notification),
                 port->userInfo);
}

void SimEventTaps::deafenTap(MachPortRef ref) {
  if (Port* port = find(ports_, ref, "deafenTap")) port->isDeaf = true;
}

MachPortRef SimEventTaps::newestTap() const {
  for (auto it = ports_.rbegin(); it != ports_.rend(); ++it) {
    if (it->second.isValid) return toRef<MachPortRef>(it->first);
  }
  return nullptr;
}

SimEventTaps::TapState SimEventTaps::tapState(MachPortRef ref) const {
  const auto found = ports_.find(toId(ref));
  if (found == ports_.end() || !found->second.isValid) return TapState::idle;
  return found->second.isEnabled ? TapState::running : TapState::disabled;
}

int SimEventTaps::retainCount(MachPortRef ref) const {
  const auto found = ports_.find(toId(ref));
  return found != ports_.end() ? found->second.retainCount : 0;
}

template <typename Handle>
Handle* SimEventTaps::find(std::map<std::uintptr_t, Handle>& handles, const void* ref,
                           const char* operation) {
  const auto found = handles.find(toId(ref));
  if (found != handles.end()) return &found->second;
  const char* kind = std::is_same_v<Handle, Port> ? "port" : "run-loop source";
  log_.fault(std::string(operation) + ": the " + kind +
             " was released for the last time, or was never made here");
  return nullptr;
}

bool SimEventTaps::checkMainRunLoop(RunLoopRef runLoop, const char* operation) {
  if (runLoop == reinterpret_cast<RunLoopRef>(&mainRunLoopToken_)) return true;
  log_.fault(std::string(operation) + ": not the main run loop");
  return false;
}

bool SimEventTaps::runsNow(std::uintptr_t port) const {
  // The common modes hold the default mode and the modal panel mode.
  for (const auto& [id, source] : sources_) {
    if (source.port == port && source.isValid &&
        (source.inCommonModes || (source.inDefaultMode && !runLoop_.isModal()))) {
      return true;
    }
  }
  return false;
}

void SimEventTaps::releasePort(std::uintptr_t id) {
  if (--ports_.at(id).retainCount == 0) ports_.erase(id);
}

void SimEventTaps::releaseSource(std::uintptr_t id) {
  Source& source = sources_.at(id);
  if (--source.retainCount > 0) return;
  const std::uintptr_t port = source.port;
  sources_.erase(id);
  releasePort(port);
}

}  // namespace wheelright::sim
