// SystemServices over CFPreferences, the Accessibility trust calls, NSWorkspace, NSApplication,
// NSRunningApplication and SMAppService.

#import <AppKit/AppKit.h>
#import <ApplicationServices/ApplicationServices.h>
#import <ServiceManagement/ServiceManagement.h>

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include "platform/macos/mac_objects.h"
#include "platform/macos/mac_services.h"
#include "platform/macos/objc_bridge.h"

namespace wheelright {
namespace {

static_assert(static_cast<NSInteger>(LoginItemStatus::notRegistered) ==
              SMAppServiceStatusNotRegistered);
static_assert(static_cast<NSInteger>(LoginItemStatus::enabled) == SMAppServiceStatusEnabled);
static_assert(static_cast<NSInteger>(LoginItemStatus::requiresApproval) ==
              SMAppServiceStatusRequiresApproval);
static_assert(static_cast<NSInteger>(LoginItemStatus::notFound) == SMAppServiceStatusNotFound);
static_assert(loginItemDeniedByUserCode == kSMErrorLaunchDeniedByUser);

// Reads a property-list value without taking it over; the caller still releases it.
PreferenceValue interpretPreference(CFPropertyListRef value) {
  if (value == nullptr) return std::monostate{};
  const CFTypeID type = CFGetTypeID(value);
  if (type == CFBooleanGetTypeID()) {
    return CFBooleanGetValue(static_cast<CFBooleanRef>(value)) != false;
  }
  if (type == CFNumberGetTypeID()) {
    const auto number = static_cast<CFNumberRef>(value);
    if (CFNumberIsFloatType(number)) {
      double real = 0;
      CFNumberGetValue(number, kCFNumberDoubleType, &real);
      return real;
    }
    std::int64_t integer = 0;
    // An unsigned value beyond the signed range comes back clamped, which keeps it non-zero.
    CFNumberGetValue(number, kCFNumberSInt64Type, &integer);
    return integer;
  }
  NSString* kind = CFBridgingRelease(CFCopyTypeIDDescription(type));
  return PreferenceOther{toStdString(kind)};
}

NSWorkspace* workspace() { return NSWorkspace.sharedWorkspace; }

// Asked anew at each use: the service object describes the running bundle as it is now.
SMAppService* mainAppService() { return [SMAppService mainAppService]; }

Result<> loginItemResult(BOOL succeeded, NSError* error) {
  if (succeeded) return {};
  // The framework's own codes; the domain is not documented for SMAppService, so only the code
  // is kept.
  return Error{toStdString(error.localizedDescription), static_cast<int>(error.code)};
}

class MacSystemServices final : public SystemServices {
 public:
  MacSystemServices() = default;
  MacSystemServices(const MacSystemServices&) = delete;
  MacSystemServices& operator=(const MacSystemServices&) = delete;
  ~MacSystemServices() override {
    for (const auto& [name, key] : preferenceKeys_) CFRelease(key);
  }

  PreferenceValue copyPreferenceValue(const std::string& key) override {
    return readPreferenceValue(preferenceKey(key), kCFPreferencesAnyApplication,
                               kCFPreferencesCurrentUser, kCFPreferencesAnyHost);
  }

  bool isProcessTrusted() override { return AXIsProcessTrusted(); }

  bool isProcessTrustedWithOptions(bool prompt) override {
    // Without the dictionary (out of memory) the call still answers, without prompting.
    CFDictionaryRef options = createTrustPromptOptions(prompt);
    const bool trusted = AXIsProcessTrustedWithOptions(options);
    if (options != nullptr) CFRelease(options);
    return trusted;
  }

  OpenURLResult openURL(const std::string& address) override {
    NSURL* url = [NSURL URLWithString:toNSString(address)];
    if (url == nil) return OpenURLResult::notAURL;
    return [workspace() openURL:url] ? OpenURLResult::opened : OpenURLResult::refused;
  }

  void openApplication(const std::string& path) override {
    [workspace() openApplicationAtURL:[NSURL fileURLWithPath:toNSString(path)]
                        configuration:[NSWorkspaceOpenConfiguration configuration]
                    completionHandler:nil];
  }

  void terminate() override { [NSApp terminate:nil]; }

  bool isAnotherCopyRunning() override {
    NSString* identifier = NSBundle.mainBundle.bundleIdentifier;
    if (identifier == nil) return false;  // not started from a bundle: nothing to compare with
    const pid_t current = NSRunningApplication.currentApplication.processIdentifier;
    for (NSRunningApplication* copy in
         [NSRunningApplication runningApplicationsWithBundleIdentifier:identifier]) {
      if (copy.processIdentifier != current && !copy.terminated) return true;
    }
    return false;
  }

  LoginItemStatus mainAppServiceStatus() override {
    return static_cast<LoginItemStatus>(static_cast<std::int64_t>(mainAppService().status));
  }

  Result<> registerMainAppService() override {
    NSError* error = nil;
    const BOOL succeeded = [mainAppService() registerAndReturnError:&error];
    return loginItemResult(succeeded, error);
  }

  Result<> unregisterMainAppService() override {
    NSError* error = nil;
    const BOOL succeeded = [mainAppService() unregisterAndReturnError:&error];
    return loginItemResult(succeeded, error);
  }

  void openSystemSettingsLoginItems() override { [SMAppService openSystemSettingsLoginItems]; }

 private:
  // Each key becomes a CFString once and is kept for the life of the process; the preference is
  // read every 1.5 seconds and only its value is meant to be fresh.
  CFStringRef preferenceKey(const std::string& key) {
    auto found = preferenceKeys_.find(key);
    if (found == preferenceKeys_.end()) {
      CFStringRef created = CFStringCreateWithBytes(
          kCFAllocatorDefault, reinterpret_cast<const UInt8*>(key.data()),
          static_cast<CFIndex>(key.size()), kCFStringEncodingUTF8, false);
      if (created == nullptr) created = CFSTR("");
      found = preferenceKeys_.emplace(key, created).first;
    }
    return found->second;
  }

  std::unordered_map<std::string, CFStringRef> preferenceKeys_;
};

}  // namespace

PreferenceValue readPreferenceValue(CFStringRef key, CFStringRef application, CFStringRef user,
                                    CFStringRef host) {
  CFPropertyListRef value = CFPreferencesCopyValue(key, application, user, host);
  PreferenceValue result = interpretPreference(value);
  if (value != nullptr) CFRelease(value);
  return result;
}

CFDictionaryRef createTrustPromptOptions(bool prompt) {
  const void* keys[] = {kAXTrustedCheckOptionPrompt};
  const void* values[] = {prompt ? kCFBooleanTrue : kCFBooleanFalse};
  return CFDictionaryCreate(kCFAllocatorDefault, keys, values, 1, &kCFTypeDictionaryKeyCallBacks,
                            &kCFTypeDictionaryValueCallBacks);
}

std::shared_ptr<SystemServices> makeMacSystemServices() {
  return std::make_shared<MacSystemServices>();
}

}  // namespace wheelright
