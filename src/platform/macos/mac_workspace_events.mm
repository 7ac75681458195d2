// WorkspaceEvents over the notification center of NSWorkspace.

#import <AppKit/AppKit.h>

#include <functional>
#include <memory>
#include <utility>

#include "platform/macos/mac_services.h"

namespace wheelright {
namespace {

NSNotificationName notificationName(WorkspaceNotification name) {
  switch (name) {
    case WorkspaceNotification::didWake:
      return NSWorkspaceDidWakeNotification;
    case WorkspaceNotification::sessionDidBecomeActive:
      return NSWorkspaceSessionDidBecomeActiveNotification;
    case WorkspaceNotification::sessionDidResignActive:
      return NSWorkspaceSessionDidResignActiveNotification;
  }
  return NSWorkspaceDidWakeNotification;
}

NSNotificationCenter* workspaceCenter() { return NSWorkspace.sharedWorkspace.notificationCenter; }

class MacWorkspaceObservation final : public WorkspaceObservation {
 public:
  explicit MacWorkspaceObservation(id<NSObject> token) : token_(token) {}
  ~MacWorkspaceObservation() override { [workspaceCenter() removeObserver:token_]; }
  MacWorkspaceObservation(const MacWorkspaceObservation&) = delete;
  MacWorkspaceObservation& operator=(const MacWorkspaceObservation&) = delete;

 private:
  id<NSObject> token_;
};

class MacWorkspaceEvents final : public WorkspaceEvents {
 public:
  std::unique_ptr<WorkspaceObservation> addObserver(WorkspaceNotification name,
                                                    std::function<void()> block) override {
    // The main queue: the application's objects live on the main thread, whichever thread the
    // system posts from.
    auto shared = std::make_shared<const std::function<void()>>(std::move(block));
    id<NSObject> token = [workspaceCenter() addObserverForName:notificationName(name)
                                                        object:nil
                                                         queue:NSOperationQueue.mainQueue
                                                    usingBlock:^(NSNotification* /*notification*/) {
                                                      const auto keep = shared;
                                                      if (*keep) (*keep)();
                                                    }];
    return std::make_unique<MacWorkspaceObservation>(token);
  }
};

}  // namespace

std::shared_ptr<WorkspaceEvents> makeMacWorkspaceEvents() {
  return std::make_shared<MacWorkspaceEvents>();
}

}  // namespace wheelright
