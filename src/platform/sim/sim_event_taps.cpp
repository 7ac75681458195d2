#include "platform/sim/sim_event_taps.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <string>

#include "platform/event_tap_services.h"

namespace wheelright::sim {

struct SimEventTaps::Port {
  TapLocation location = TapLocation::session;
  EventMask mask = 0;
  EventTapCallback callback = nullptr;
  void* userInfo = nullptr;
  bool isEnabled = true;  // a tap is enabled when created
  bool isValid = true;
  int retainCount = 1;
};

struct SimEventTaps::Source {
  Port* port = nullptr;
  bool inDefaultMode = false;
  bool inCommonModes = false;
  bool isValid = true;
  int retainCount = 1;
  bool isAttached() const { return inDefaultMode || inCommonModes; }
};

namespace {

const char* modeName(RunLoopMode mode) {
  return mode == RunLoopMode::commonModes ? "common" : "default";
}

bool isInterested(EventMask mask, EventType type) {
  return type < 64 && ((mask >> type) & 1u) != 0;
}

}  // namespace

SimEventTaps::SimEventTaps(DesktopLog& log, SimRunLoop& runLoop, const SimSystem& system)
    : log_(log), runLoop_(runLoop), system_(system) {}

SimEventTaps::~SimEventTaps() = default;

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

  auto port = std::make_unique<Port>();
  port->location = location;
  port->mask = eventsOfInterest;
  port->callback = callback;
  port->userInfo = userInfo;
  const auto sameOrLater = [&](const Port* other) {
    return placement == TapPlacement::headInsert ? other->location >= location
                                                 : other->location > location;
  };
  stream_.insert(std::find_if(stream_.begin(), stream_.end(), sameOrLater), port.get());
  ports_.push_back(std::move(port));
  return reinterpret_cast<MachPortRef>(ports_.back().get());
}

RunLoopSourceRef SimEventTaps::machPortCreateRunLoopSource(MachPortRef ref, std::int64_t order) {
  log_.call("machPortCreateRunLoopSource order=" + std::to_string(order));
  Port* port = findPort(ref, "machPortCreateRunLoopSource");
  if (port == nullptr || !port->isValid || creationFailure_ == CreationFailure::source) {
    return nullptr;
  }
  auto source = std::make_unique<Source>();
  source->port = port;
  ++port->retainCount;
  sources_.push_back(std::move(source));
  return reinterpret_cast<RunLoopSourceRef>(sources_.back().get());
}

RunLoopRef SimEventTaps::mainRunLoop() { return reinterpret_cast<RunLoopRef>(&mainRunLoopToken_); }

void SimEventTaps::runLoopAddSource(RunLoopRef runLoop, RunLoopSourceRef ref, RunLoopMode mode) {
  log_.call(std::string("runLoopAddSource mode=") + modeName(mode));
  Source* source = findSource(ref, "runLoopAddSource");
  if (source == nullptr || !checkMainRunLoop(runLoop, "runLoopAddSource") || !source->isValid) {
    return;
  }
  if (!source->isAttached()) ++source->retainCount;
  (mode == RunLoopMode::commonModes ? source->inCommonModes : source->inDefaultMode) = true;
}

void SimEventTaps::runLoopRemoveSource(RunLoopRef runLoop, RunLoopSourceRef ref, RunLoopMode mode) {
  log_.call(std::string("runLoopRemoveSource mode=") + modeName(mode));
  Source* source = findSource(ref, "runLoopRemoveSource");
  if (source == nullptr || !checkMainRunLoop(runLoop, "runLoopRemoveSource") ||
      !source->isAttached()) {
    return;
  }
  (mode == RunLoopMode::commonModes ? source->inCommonModes : source->inDefaultMode) = false;
  if (!source->isAttached()) releaseSource(*source);
}

void SimEventTaps::tapEnable(MachPortRef ref, bool enable) noexcept {
  log_.call(enable ? "tapEnable true" : "tapEnable false");
  Port* port = findPort(ref, "tapEnable");
  if (port != nullptr && port->isValid) port->isEnabled = enable;
}

bool SimEventTaps::tapIsEnabled(MachPortRef ref) {
  log_.call("tapIsEnabled");
  const Port* port = findPort(ref, "tapIsEnabled");
  return port != nullptr && port->isValid && port->isEnabled;
}

void SimEventTaps::machPortInvalidate(MachPortRef ref) {
  log_.call("machPortInvalidate");
  Port* port = findPort(ref, "machPortInvalidate");
  if (port == nullptr || !port->isValid) return;
  port->isValid = false;
  std::erase(stream_, port);
  for (const auto& source : sources_) {
    if (source->port == port && source->retainCount > 0) detach(*source);
  }
}

void SimEventTaps::release(MachPortRef ref) {
  log_.call("release port");
  if (Port* port = findPort(ref, "release"); port != nullptr) releasePort(*port);
}

void SimEventTaps::release(RunLoopSourceRef ref) {
  log_.call("release source");
  if (Source* source = findSource(ref, "release"); source != nullptr) releaseSource(*source);
}

std::optional<SimEvent> SimEventTaps::inject(const SimEvent& event) {
  SimEvent working = event;
  EventRef current = toEventRef(working);
  // A callback may add or remove taps; the event goes on down the stream it entered.
  const std::vector<Port*> stream = stream_;
  for (Port* port : stream) {
    const EventType type = toSimEvent(current).type;
    if (!port->isValid || !port->isEnabled || !isInterested(port->mask, type) || !runsNow(*port)) {
      continue;
    }
    current = port->callback(reinterpret_cast<EventTapProxy>(port), type, current, port->userInfo);
    if (current == nullptr) return std::nullopt;
  }
  SimEvent delivered = toSimEvent(current);
  if (sink_) sink_(delivered);
  return delivered;
}

void SimEventTaps::disableTap(MachPortRef ref, DisableReason reason) {
  Port* port = findPort(ref, "disableTap");
  if (port == nullptr || !port->isValid) return;
  port->isEnabled = false;
  if (reason == DisableReason::silent || !runsNow(*port)) return;
  SimEvent notification =
      SimEvent::ofType(reason == DisableReason::timeout ? event_type::tapDisabledByTimeout
                                                        : event_type::tapDisabledByUserInput);
  port->callback(reinterpret_cast<EventTapProxy>(port), notification.type, toEventRef(notification),
                 port->userInfo);
}

MachPortRef SimEventTaps::newestTap() const {
  for (auto it = ports_.rbegin(); it != ports_.rend(); ++it) {
    if ((*it)->isValid && (*it)->retainCount > 0) return reinterpret_cast<MachPortRef>(it->get());
  }
  return nullptr;
}

SimEventTaps::TapState SimEventTaps::tapState(MachPortRef ref) const {
  const Port* port = lookup(ports_, ref);
  if (port == nullptr || !port->isValid || port->retainCount <= 0) return TapState::idle;
  return port->isEnabled ? TapState::running : TapState::disabled;
}

std::size_t SimEventTaps::liveHandleCount() const {
  const auto live = [](const auto& handle) { return handle->retainCount > 0; };
  return static_cast<std::size_t>(std::count_if(ports_.begin(), ports_.end(), live) +
                                  std::count_if(sources_.begin(), sources_.end(), live));
}

int SimEventTaps::retainCount(MachPortRef ref) const {
  const Port* port = lookup(ports_, ref);
  return port != nullptr ? port->retainCount : 0;
}

int SimEventTaps::retainCount(RunLoopSourceRef ref) const {
  const Source* source = lookup(sources_, ref);
  return source != nullptr ? source->retainCount : 0;
}

template <typename Handle, typename Ref>
Handle* SimEventTaps::lookup(const std::vector<std::unique_ptr<Handle>>& handles, Ref ref) {
  for (const auto& handle : handles) {
    if (reinterpret_cast<Ref>(handle.get()) == ref) return handle.get();
  }
  return nullptr;
}

template <typename Handle, typename Ref>
Handle* SimEventTaps::findLive(const std::vector<std::unique_ptr<Handle>>& handles, Ref ref,
                               const char* kind, const char* operation) {
  Handle* handle = lookup(handles, ref);
  if (handle != nullptr && handle->retainCount > 0) return handle;
  log_.fault(std::string(operation) + (handle != nullptr ? ": the " : ": not a ") + kind +
             (handle != nullptr ? " was already released for the last time" : " of this desktop"));
  return nullptr;
}

SimEventTaps::Port* SimEventTaps::findPort(MachPortRef ref, const char* operation) {
  return findLive(ports_, ref, "port", operation);
}

SimEventTaps::Source* SimEventTaps::findSource(RunLoopSourceRef ref, const char* operation) {
  return findLive(sources_, ref, "run-loop source", operation);
}

bool SimEventTaps::checkMainRunLoop(RunLoopRef runLoop, const char* operation) {
  if (runLoop == reinterpret_cast<RunLoopRef>(&mainRunLoopToken_)) return true;
  log_.fault(std::string(operation) + ": not the main run loop");
  return false;
}

bool SimEventTaps::runsNow(const Port& port) const {
  // The common modes hold the default mode and the modal panel mode.
  return std::any_of(sources_.begin(), sources_.end(), [&](const auto& source) {
    return source->port == &port && source->isValid &&
           (source->inCommonModes || (source->inDefaultMode && !runLoop_.isModal()));
  });
}

void SimEventTaps::detach(Source& source) {
  source.isValid = false;
  if (!source.isAttached()) return;
  source.inDefaultMode = source.inCommonModes = false;
  releaseSource(source);
}

void SimEventTaps::releasePort(Port& port) {
  if (--port.retainCount > 0) return;
  // A port freed while still valid is invalidated on the way out.
  if (port.isValid) {
    port.isValid = false;
    std::erase(stream_, &port);
  }
}

void SimEventTaps::releaseSource(Source& source) {
  if (--source.retainCount > 0) return;
  source.isValid = false;
  releasePort(*source.port);
}

}  // namespace wheelright::sim
