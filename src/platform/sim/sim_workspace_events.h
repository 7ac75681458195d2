#pragma once
// The simulated workspace notification center: the desktop posts the Mac's wake and the user's
// session switches, and every observer of that notification is called at once, in the order the
// observers were added, as NSNotificationCenter calls them on the posting (main) thread.

#include <functional>
#include <memory>
#include <vector>

#include "platform/sim/desktop_log.h"
#include "platform/workspace_events.h"

namespace wheelright::sim {

class SimWorkspaceEvents final : public WorkspaceEvents {
 public:
  explicit SimWorkspaceEvents(DesktopLog& log) : log_(log) {}

  std::unique_ptr<WorkspaceObservation> addObserver(WorkspaceNotification name,
                                                    std::function<void()> block) override;
  void post(WorkspaceNotification name);

 private:
  struct Observer {
    WorkspaceNotification name;
    std::function<void()> block;
  };
  class Observation;

  DesktopLog& log_;
  // An observer lives as long as its observation; the center only looks at it.
  std::vector<std::weak_ptr<Observer>> observers_;
};

}  // namespace wheelright::sim
