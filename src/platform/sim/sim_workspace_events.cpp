#include "platform/sim/sim_workspace_events.h"

#include <string>
#include <utility>

namespace wheelright::sim {
namespace {

std::string nameOf(WorkspaceNotification name) {
  switch (name) {
    case WorkspaceNotification::didWake:
      return "didWake";
    case WorkspaceNotification::sessionDidBecomeActive:
      return "sessionDidBecomeActive";
    case WorkspaceNotification::sessionDidResignActive:
      return "sessionDidResignActive";
  }
  return "unknown";
}

}  // namespace

class SimWorkspaceEvents::Observation final : public WorkspaceObservation {
 public:
  explicit Observation(std::shared_ptr<Observer> observer) : observer_(std::move(observer)) {}

 private:
  std::shared_ptr<Observer> observer_;
};

std::unique_ptr<WorkspaceObservation> SimWorkspaceEvents::addObserver(WorkspaceNotification name,
                                                                      std::function<void()> block) {
  log_.call("addObserver " + nameOf(name));
  auto observer = std::make_shared<Observer>(Observer{name, std::move(block)});
  std::erase_if(observers_, [](const auto& weak) { return weak.expired(); });
  observers_.push_back(observer);
  return std::make_unique<Observation>(std::move(observer));
}

void SimWorkspaceEvents::post(WorkspaceNotification name) {
  log_.call("post " + nameOf(name));
  // A block may add or remove observers; those it removes are no longer called.
  const std::vector<std::weak_ptr<Observer>> current = observers_;
  for (const auto& weak : current) {
    const std::shared_ptr<Observer> observer = weak.lock();
    if (observer && observer->name == name && observer->block) observer->block();
  }
}

}  // namespace wheelright::sim
