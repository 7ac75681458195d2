// The wake and session notifications, posted to the workspace's own notification center, reach
// the application, which makes a new tap; an alert of the agent application, run while another
// application is in front, is seen, takes the keyboard and answers Escape.

#import <AppKit/AppKit.h>
#include <gtest/gtest.h>

#include <memory>

#include "model/app_model.h"
#include "platform/macos/mac_services.h"
#include "platform/sim/sim_desktop.h"
#include "run_loop_wait.h"

namespace wheelright {
namespace {

// The simulated desktop stands in for everything but the workspace: a real tap needs a trust
// that no test machine grants.
TEST(MacWorkspace, WakeAndReturnToTheSessionMakeANewTap) {
  const auto desktop = sim::SimDesktop::create();
  desktop->system().setTrusted(true);
  desktop->userDefaultsStore().setBool(true, "hasShownNaturalScrollOnboarding");
  Platform platform = desktop->platform();
  platform.workspace = makeMacWorkspaceEvents();
  const auto settings = std::make_shared<AppSettings>(platform.standardUserDefaults);
  const auto model = AppModel::create(settings, platform);

  for (NSNotificationName name in
       @[ NSWorkspaceDidWakeNotification, NSWorkspaceSessionDidBecomeActiveNotification ]) {
    SCOPED_TRACE(name.UTF8String);
    const MachPortRef before = desktop->eventTaps().newestTap();
    ASSERT_NE(before, nullptr);
    [NSWorkspace.sharedWorkspace.notificationCenter
        postNotificationName:name
                      object:NSWorkspace.sharedWorkspace];
    EXPECT_TRUE(runLoopUntil(NSDefaultRunLoopMode, 2,
                             [&] { return desktop->eventTaps().newestTap() != before; }));
    EXPECT_EQ(model->status(), AppModel::Status::active());
  }
}

TEST(MacAlertPresenter, AnAlertOfAnInactiveAgentIsSeenTakesTheKeyboardAndAnswersEscape) {
  [NSApplication sharedApplication];
  [NSApp setActivationPolicy:NSApplicationActivationPolicyAccessory];
  [NSApp deactivate];
  const auto presenter = makeMacAlertPresenter();
  const AlertContent content{AlertStyle::warning, "title",     "text",
                             "checklist",         "checklist", {"open", "later"}};

  __block bool wasVisible = false;
  __block bool wasKey = false;
  NSTimer* look = [NSTimer timerWithTimeInterval:0.5
                                         repeats:NO
                                           block:^(NSTimer*) {
                                             NSWindow* window = NSApp.modalWindow;
                                             wasVisible = window.visible;
                                             wasKey = window.keyWindow;
                                             NSEvent* escape =
                                                 [NSEvent keyEventWithType:NSEventTypeKeyDown
                                                                        location:NSZeroPoint
                                                                   modifierFlags:0
                                                                       timestamp:0
                                                                    windowNumber:window.windowNumber
                                                                         context:nil
                                                                      characters:@"\033"
                                                     charactersIgnoringModifiers:@"\033"
                                                                       isARepeat:NO
                                                                         keyCode:53];
                                             [NSApp postEvent:escape atStart:NO];
                                           }];
  // Should Escape go astray, the alert still ends rather than hang the run.
  NSTimer* giveUp = [NSTimer timerWithTimeInterval:5
                                           repeats:NO
                                             block:^(NSTimer*) {
                                               [NSApp stopModalWithCode:NSModalResponseAbort];
                                             }];
  [NSRunLoop.currentRunLoop addTimer:look forMode:NSModalPanelRunLoopMode];
  [NSRunLoop.currentRunLoop addTimer:giveUp forMode:NSModalPanelRunLoopMode];
  presenter->activateIgnoringOtherApps();
  const long response = presenter->runModal(content);
  [giveUp invalidate];

  EXPECT_TRUE(wasVisible);
  EXPECT_TRUE(wasKey);
  EXPECT_EQ(response, alertFirstButtonReturn + 1);
}

}  // namespace
}  // namespace wheelright
