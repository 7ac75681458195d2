#include "platform/sim/sim_alert_presenter.h"

#include "base/scope_exit.h"

namespace wheelright::sim {

void SimAlertPresenter::activateIgnoringOtherApps() { log_.call("activateIgnoringOtherApps"); }

long SimAlertPresenter::runModal(const AlertContent& alert) {
  log_.call("runModal " + alert.messageText);
  alerts_.push_back(alert);
  runLoop_.enterModal();
  const ScopeExit closed([this] { runLoop_.exitModal(); });
  // A copy: the handler may set another one while it runs.
  const Handler handler = handler_;
  return handler ? handler(alert) : abortResponse;
}

}  // namespace wheelright::sim
