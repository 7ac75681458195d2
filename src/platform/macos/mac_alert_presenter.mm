// AlertPresenter over NSAlert.

#import <AppKit/AppKit.h>

#include <memory>
#include <string>

#include "platform/macos/mac_objects.h"
#include "platform/macos/mac_services.h"
#include "platform/macos/objc_bridge.h"

namespace wheelright {
namespace {

static_assert(static_cast<NSUInteger>(AlertStyle::warning) == NSAlertStyleWarning);
static_assert(static_cast<NSUInteger>(AlertStyle::informational) == NSAlertStyleInformational);
static_assert(static_cast<NSUInteger>(AlertStyle::critical) == NSAlertStyleCritical);
static_assert(alertFirstButtonReturn == NSAlertFirstButtonReturn);

class MacAlertPresenter final : public AlertPresenter {
 public:
  // A menu-bar application is not frontmost; without this its alert would open behind others.
  // Since macOS 14 activation is cooperative: activateIgnoringOtherApps: no longer brings the
  // app forward, and -activate is the request the system honours. -activate is not in the
  // macOS 13 SDK, hence the selector; and the version is asked of NSProcessInfo rather than
  // through @available, whose check lives in the compiler's runtime library, which a cross
  // build's clang does not have for macOS.
  void activateIgnoringOtherApps() override {
    if ([NSProcessInfo.processInfo isOperatingSystemAtLeastVersion:{14, 0, 0}]) {
      [NSApp performSelector:@selector(activate)];
    } else {
      [NSApp activateIgnoringOtherApps:YES];
    }
  }

  long runModal(const AlertContent& content) override {
    NSAlert* alert = makeAlert(content);
    // Activation is only a request since macOS 14, and an agent application that the system
    // did not activate would open its alert behind the frontmost window, where the modal loop
    // waits unseen. Once the modal loop runs, the alert's window is brought forward and made key
    // by hand if the application is still not active.
    [alert layout];
    NSWindow* window = alert.window;
    [NSRunLoop.mainRunLoop performInModes:@[ NSModalPanelRunLoopMode ]
                                    block:^{
                                      if (NSApp.active) return;
                                      [window orderFrontRegardless];
                                      [window makeKeyWindow];
                                    }];
    return static_cast<long>([alert runModal]);
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
  // AppKit gives Escape only to a button titled Cancel; here the last button, the one that
  // leaves things as they are, answers it. A lone button keeps Return: a button has one key.
  if (alert.buttons.count > 1) alert.buttons.lastObject.keyEquivalent = @"\033";
  return alert;
}

std::shared_ptr<AlertPresenter> makeMacAlertPresenter() {
  return std::make_shared<MacAlertPresenter>();
}

}  // namespace wheelright
