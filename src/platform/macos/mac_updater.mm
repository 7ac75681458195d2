// Updater over Sparkle's SPUStandardUpdaterController. Sparkle is embedded in the bundle and
// linked by its executable, not by this library: its classes are looked up by name, through the
// few methods declared below, so that this code builds and runs the same without the framework
// (a cross build, a bundle without a feed) and then offers no updates.

#import <Foundation/Foundation.h>

#include <memory>

#include "platform/macos/mac_services.h"

// The members of Sparkle's SPUUpdater that are used here, as Sparkle declares them.
@protocol WRSparkleUpdater <NSObject>
@property(nonatomic, readonly) BOOL canCheckForUpdates;
@property(nonatomic) BOOL automaticallyChecksForUpdates;
@end

// The members of SPUStandardUpdaterController that are used here.
@protocol WRSparkleUpdaterController <NSObject>
- (instancetype)initWithStartingUpdater:(BOOL)startUpdater
                        updaterDelegate:(id)updaterDelegate
                     userDriverDelegate:(id)userDriverDelegate;
@property(nonatomic, readonly) id<WRSparkleUpdater> updater;
- (void)checkForUpdates:(id)sender;
@end

// The standard user driver's delegate. Wheelright has no Dock icon and no window, so a scheduled
// update found later than just after launch would open behind whatever the user works in; saying
// that gentle reminders are handled lets Sparkle show it without stealing focus, and without the
// warning it logs for a background application that says nothing.
@interface WRUserDriverDelegate : NSObject
@property(nonatomic, readonly) BOOL supportsGentleScheduledUpdateReminders;
@end

@implementation WRUserDriverDelegate
- (BOOL)supportsGentleScheduledUpdateReminders {
  return YES;
}
@end

namespace wheelright {
namespace {

class MacUpdater final : public Updater {
 public:
  MacUpdater(id<WRSparkleUpdaterController> controller, WRUserDriverDelegate* delegate)
      : controller_(controller), delegate_(delegate) {}

  bool canCheckForUpdates() const override { return controller_.updater.canCheckForUpdates; }
  void checkForUpdates() override { [controller_ checkForUpdates:nil]; }
  bool automaticallyChecksForUpdates() const override {
    return controller_.updater.automaticallyChecksForUpdates;
  }
  void setAutomaticallyChecksForUpdates(bool checks) override {
    controller_.updater.automaticallyChecksForUpdates = checks;
  }

 private:
  id<WRSparkleUpdaterController> controller_;
  // The controller holds its delegates weakly.
  [[maybe_unused]] WRUserDriverDelegate* delegate_;
};

}  // namespace

std::shared_ptr<Updater> makeSparkleUpdater(bool startsUpdater) {
  Class controllerClass = NSClassFromString(@"SPUStandardUpdaterController");
  if (controllerClass == nil) return nullptr;
  WRUserDriverDelegate* delegate = [[WRUserDriverDelegate alloc] init];
  id<WRSparkleUpdaterController> controller =
      [[controllerClass alloc] initWithStartingUpdater:startsUpdater
                                       updaterDelegate:nil
                                    userDriverDelegate:delegate];
  if (controller == nil) return nullptr;
  return std::make_shared<MacUpdater>(controller, delegate);
}

std::shared_ptr<Updater> makeMacUpdater() {
  if ([NSBundle.mainBundle objectForInfoDictionaryKey:@"SUFeedURL"] == nil) return nullptr;
  return makeSparkleUpdater(true);
}

}  // namespace wheelright
