#pragma once
// Wheelright's one session event tap: an active, head-inserted filter for scroll-wheel events,
// installed on the main run loop in the common modes, that rewrites each event in place through
// the rewriting rule. Told when to start and stop; asks its provider for the switches per event.

#include <memory>
#include <type_traits>

#include "base/result.h"
#include "platform/event_tap_services.h"
#include "scroll/configuration_provider.h"
#include "scroll/scroll_configuration.h"

namespace wheelright {

// The plain callback handed to the platform; userInfo is the ScrollEventTap, not retained. Runs
// between C frames, so nothing on its path throws.
EventRef scrollTapCallback(EventTapProxy proxy, EventType type, EventRef event,
                           void* userInfo) noexcept;

// Gives a tap's handle back to the platform that made it.
struct EventTapHandleRelease {
  EventTapServices* services = nullptr;
  template <typename Ref>
  void operator()(Ref ref) const {
    services->release(ref);
  }
};

class ScrollEventTap : public std::enable_shared_from_this<ScrollEventTap> {
 public:
  // Creates no tap and calls no platform function. The provider must have `read`.
  static std::shared_ptr<ScrollEventTap> create(std::shared_ptr<EventTapServices> services,
                                                ConfigurationProvider provider);
  ~ScrollEventTap();
  ScrollEventTap(const ScrollEventTap&) = delete;
  ScrollEventTap& operator=(const ScrollEventTap&) = delete;

  // Installs and enables the tap; nothing happens while it runs. Fails when the system gives no
  // tap or no run-loop source for it; the text is for developers, the model shows its own.
  Result<> start();
  // Removes and releases whatever start installed; safe any number of times.
  void stop();
  // A port is installed and the system reports it enabled.
  bool isRunning() const;
  // The per-event entry that the callback reaches; returns the event it was given.
  EventRef handleTapEvent(EventType type, EventRef event) noexcept;

  bool hasPort() const { return eventTap_.get() != nullptr; }
  bool hasRunLoopSource() const { return runLoopSource_.get() != nullptr; }

 private:
  ScrollEventTap(std::shared_ptr<EventTapServices> services, ConfigurationProvider provider);
  // The provider's answer, or settingsDefaultConfiguration once its owner is gone.
  ScrollConfiguration configuration() const noexcept;

  // A handle owned by this object: released through the platform when reset or destroyed.
  template <typename Ref>
  using Held = std::unique_ptr<std::remove_pointer_t<Ref>, EventTapHandleRelease>;

  const ConfigurationProvider configurationProvider_;
  std::shared_ptr<EventTapServices> services_;
  Held<MachPortRef> eventTap_;
  Held<RunLoopSourceRef> runLoopSource_;
};

}  // namespace wheelright
