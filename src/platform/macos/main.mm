// The process entry of Wheelright.app. The bundle's LSUIElement keeps it out of the Dock, so
// no activation policy is set here.

#import <AppKit/AppKit.h>

#include <memory>

#include "menubar/wheelright_app.h"
#include "platform/macos/mac_platform.h"

int main() {
  @autoreleasepool {
    [NSApplication sharedApplication];
    // Held for the whole run: the application owns the model, the tap and the menu-bar item.
    const std::shared_ptr<wheelright::WheelrightApp> app =
        wheelright::WheelrightApp::create(wheelright::makeMacPlatform());
    // Null when another copy runs; that one keeps the wheel.
    if (app != nullptr) [NSApp run];
  }
  return 0;
}
