// AlertPresenter over NSAlert.

#import <AppKit/AppKit.h>

#include <memory>
#include <string>

#include "platform/macos/mac_objects.h"
#include "platform/macos/mac_services.h"
#include "platform/macos/objc_bridge.h"

// -[NSApplication activate] arrived with the macOS 14 SDK. Declared here for older SDKs so that
// the same source builds against them; it is only sent on macOS 14 and later.
#if __MAC_OS_X_VERSION_MAX_ALLOWED < 140000
@interface NSApplication (WheelrightCooperativeActivation)
- (void)activate API_AVAILABLE(macos(14.0));
@end
#endif

namespace wheelright {
namespace {

static_assert(static_cast<NSUInteger>(AlertStyle::warning) == NSAlertStyleWarning);
static_assert(static_cast<NSUInteger>(AlertStyle::informational) == NSAlertStyleInformational);
static_assert(static_cast<NSUInteger>(AlertStyle::critical) == NSAlertStyleCritical);
static_assert(alertFirstButtonReturn == NSAlertFirstButtonReturn);

class MacAlertPresenter final : public AlertPresenter {
 public:
  // A menu-bar application is not frontmost; without this its alert would open behind others.
  // Since macOS 14 activation is cooperative: activateIgnoringOtherApps: no longer forces the
  // app forward, and -activate is the request that the system honours.
  void activateIgnoringOtherApps() override {
    if (@available(macOS 14, *)) {
      [NSApp activate];
    } else {
      [NSApp activateIgnoringOtherApps:YES];
    }
  }

  long runModal(const AlertContent& content) override {
    return static_cast<long>([makeAlert(content) runModal]);
  }
};

}  // namespace

NSAlert* makeAlert(const AlertContent& content) {
  NSAlert* alert = [[NSAlert alloc] init];
  alert.alertStyle = static_cast<NSAlertStyle>(content.style);
  alert.messageText = toNSString(content.messageText);
  alert.informativeText = toNSString(content.informativeText);
  alert.icon = systemSymbolImage(content.iconSymbolName, content.iconAccessibilityDescription);
  // NSAlert numbers the buttons in the order added, from NSAlertFirstButtonReturn.
  for (const std::string& title : content.buttonTitles) {
    [alert addButtonWithTitle:toNSString(title)];
  }
  return alert;
}

std::shared_ptr<AlertPresenter> makeMacAlertPresenter() {
  return std::make_shared<MacAlertPresenter>();
}

}  // namespace wheelright
