#pragma once
// Wheelright's one session event tap: an active, head-inserted filter for scroll-wheel events,
// installed on the main run loop in the common modes, that rewrites each event in place through
// the rewriting rule. Told when to start and stop; asks its provider for the switches per event.

#include <exception>
#include <memory>
#include <type_traits>

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
  // The only failure of starting.
  class StartError : public std::exception {
   public:
    enum class Code { couldNotCreateTap };
    explicit StartError(Code code = Code::couldNotCreateTap) : code_(code) {}
    Code code() const { return code_; }
    // For developers; the model shows the user a text of its own.
    const char* what() const noexcept override;
    friend bool operator==(const StartError& a, const StartError& b) { return a.code_ == b.code_; }

   private:
    Code code_;
  };

  // Creates no tap and calls no platform function. A provider without `read` is refused here
  // (std::invalid_argument), so that no event can find one.
  static std::shared_ptr<ScrollEventTap> create(std::shared_ptr<EventTapServices> services,
                                                ConfigurationProvider provider);
  ~ScrollEventTap();
  ScrollEventTap(const ScrollEventTap&) = delete;
  ScrollEventTap& operator=(const ScrollEventTap&) = delete;

  // Installs and enables the tap; nothing happens while it runs. Throws StartError.
  void start();
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
