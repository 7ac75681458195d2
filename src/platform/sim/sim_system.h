#pragma once
// The simulated operating-system services: global preferences, Accessibility trust, a workspace
// that records what it is asked to open, termination and the application's login item. What a
// person would notice appears as a "system: ..." line.

#include <functional>
#include <optional>
#include <string>

#include "platform/sim/desktop_log.h"
#include "platform/system_services.h"

namespace wheelright::sim {

class SimSystem : public SystemServices {
 public:
  // As a new desktop is: natural scrolling stored as true, untrusted, no login item.
  explicit SimSystem(DesktopLog& log);

  PreferenceValue copyPreferenceValue(const std::string& key) override;
  bool isProcessTrusted() override;
  bool isProcessTrustedWithOptions(bool prompt) override;
  OpenURLResult openURL(const std::string& address) override;
  void openApplication(const std::string& path) override;
  void terminate() override;
  bool isAnotherCopyRunning() override;
  LoginItemStatus mainAppServiceStatus() override;
  Result<> registerMainAppService() override;
  Result<> unregisterMainAppService() override;
  void openSystemSettingsLoginItems() override;

  // The natural-scrolling preference, com.apple.swipescrolldirection, as stored; the absent
  // alternative removes it.
  void setNaturalScrollPreference(PreferenceValue value);
  void setTrusted(bool trusted) { isTrusted_ = trusted; }
  bool trusted() const { return isTrusted_; }
  // Whether the workspace opens URLs or refuses them.
  void setOpensURLs(bool opens) { opensURLs_ = opens; }

  void setLoginItemStatus(LoginItemStatus status) { loginItemStatus_ = status; }
  // What a successful registration leaves (enabled, or requiresApproval as after a first
  // registration that the user has not yet approved).
  void setRegisteredStatus(LoginItemStatus status) { registeredStatus_ = status; }
  // The next register or unregister call fails with this error and changes nothing.
  void failNextLoginItemChange(std::string localizedDescription, bool isDeniedByUser = false) {
    nextLoginItemFailure_ =
        Error{std::move(localizedDescription), isDeniedByUser ? loginItemDeniedByUserCode : 0};
  }

  // Another copy of the application, with the same bundle identifier, is running.
  void setAnotherCopyRunning(bool running) { isAnotherCopyRunning_ = running; }

  // What ends the process once the application asked to terminate.
  void setTerminationHandler(std::function<void()> handler) {
    terminationHandler_ = std::move(handler);
  }
  bool isTerminated() const { return isTerminated_; }

 private:
  Result<> changeLoginItem(LoginItemStatus to, const char* outcome);

  DesktopLog& log_;
  PreferenceValue naturalScrollPreference_;
  bool isTrusted_ = false;
  bool opensURLs_ = true;
  LoginItemStatus loginItemStatus_ = LoginItemStatus::notRegistered;
  LoginItemStatus registeredStatus_ = LoginItemStatus::enabled;
  std::optional<Error> nextLoginItemFailure_;
  bool isAnotherCopyRunning_ = false;
  bool isTerminated_ = false;
  std::function<void()> terminationHandler_;
};

}  // namespace wheelright::sim
