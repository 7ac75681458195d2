#pragma once
// The operating-system services of the application model: the global preference read
// (CFPreferencesCopyValue), Accessibility trust (AXIsProcessTrusted, AXIsProcessTrustedWithOptions),
// NSWorkspace, NSApplication terminate, NSRunningApplication and SMAppService.mainAppService.
// Main thread only.

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "base/result.h"

namespace wheelright {

// A property-list value as CFPreferencesCopyValue hands it back: absent, a boolean, a number
// (integer or floating point), or any other kind (string, date, data, array, dictionary).
struct PreferenceOther {
  std::string description;  // what it was, for display only
  friend bool operator==(const PreferenceOther&, const PreferenceOther&) = default;
};
using PreferenceValue = std::variant<std::monostate, bool, std::int64_t, double, PreferenceOther>;

// The user's global natural-scrolling preference.
inline constexpr std::string_view naturalScrollPreferenceKey = "com.apple.swipescrolldirection";

// The answer of NSWorkspace openURL: for an address; notAURL when NSURL could not be formed.
enum class OpenURLResult { opened, refused, notAURL };

// SMAppServiceStatus raw values.
enum class LoginItemStatus : std::int64_t {
  notRegistered = 0,
  enabled = 1,
  requiresApproval = 2,
  notFound = 3,
};

// The code of SMAppService's refusal to register a login item that the user has switched off in
// System Settings (kSMErrorLaunchDeniedByUser), as a failed register call carries it.
inline constexpr int loginItemDeniedByUserCode = 11;

class SystemServices {
 public:
  virtual ~SystemServices() = default;

  // CFPreferencesCopyValue(key, kCFPreferencesAnyApplication, kCFPreferencesCurrentUser,
  // kCFPreferencesAnyHost): the user's global domain, the only one Wheelright reads.
  virtual PreferenceValue copyPreferenceValue(const std::string& key) = 0;
  virtual bool isProcessTrusted() = 0;
  // AXIsProcessTrustedWithOptions({kAXTrustedCheckOptionPrompt: prompt}).
  virtual bool isProcessTrustedWithOptions(bool prompt) = 0;

  // NSWorkspace openURL: with [NSURL URLWithString:address].
  virtual OpenURLResult openURL(const std::string& address) = 0;
  // NSWorkspace openApplicationAtURL:[NSURL fileURLWithPath:path] with a default
  // NSWorkspaceOpenConfiguration and no completion handler.
  virtual void openApplication(const std::string& path) = 0;
  // NSApplication terminate: nil.
  virtual void terminate() = 0;
  // NSRunningApplication runningApplicationsWithBundleIdentifier: with the main bundle's
  // identifier: whether a copy of the application other than this process is running.
  virtual bool isAnotherCopyRunning() = 0;

  // SMAppService.mainAppService status / registerAndReturnError: / unregisterAndReturnError:.
  virtual LoginItemStatus mainAppServiceStatus() = 0;
  // A failure's text is the platform error's localized description.
  virtual Result<> registerMainAppService() = 0;
  virtual Result<> unregisterMainAppService() = 0;
  // SMAppService openSystemSettingsLoginItems: System Settings at General › Login Items.
  virtual void openSystemSettingsLoginItems() = 0;
};

}  // namespace wheelright
