#include "platform/sim/sim_updater.h"

namespace wheelright::sim {

void SimUpdater::checkForUpdates() {
  log_.call("checkForUpdates");
  log_.show("update: checking");
  switch (answer_.kind) {
    case FeedAnswer::Kind::none:
      log_.show("update: up to date");
      break;
    case FeedAnswer::Kind::offer:
      log_.show("update: offered " + answer_.text);
      break;
    case FeedAnswer::Kind::fail:
      log_.show("update: failed " + answer_.text);
      break;
  }
}

void SimUpdater::setAutomaticallyChecksForUpdates(bool checks) {
  log_.call(checks ? "setAutomaticallyChecksForUpdates true"
                   : "setAutomaticallyChecksForUpdates false");
  checksAutomatically_ = checks;
}

}  // namespace wheelright::sim
