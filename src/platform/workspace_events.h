#pragma once
// The workspace's notification center ([[NSWorkspace sharedWorkspace] notificationCenter]): the
// Mac waking from sleep, and the user's session switched away and back (fast user switching).
// Observers are called on the main thread.

#include <functional>
#include <memory>

namespace wheelright {

enum class WorkspaceNotification {
  didWake,                 // NSWorkspaceDidWakeNotification
  sessionDidBecomeActive,  // NSWorkspaceSessionDidBecomeActiveNotification
  sessionDidResignActive,  // NSWorkspaceSessionDidResignActiveNotification
};

// An observation in place; destroying it removes the observer (removeObserver:).
class WorkspaceObservation {
 public:
  virtual ~WorkspaceObservation() = default;
};

class WorkspaceEvents {
 public:
  virtual ~WorkspaceEvents() = default;
  // addObserverForName:object:nil queue:mainQueue usingBlock:, for as long as the answer lives.
  virtual std::unique_ptr<WorkspaceObservation> addObserver(WorkspaceNotification name,
                                                            std::function<void()> block) = 0;
};

}  // namespace wheelright
