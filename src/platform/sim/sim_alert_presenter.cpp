#include "platform/sim/sim_alert_presenter.h"

#include "platform/sim/desktop_text.h"

namespace wheelright::sim {

void SimAlertPresenter::activateIgnoringOtherApps() { log_.call("activateIgnoringOtherApps"); }

long SimAlertPresenter::runModal(const AlertContent& alert) {
  log_.call("runModal " + alert.messageText);
  alerts_.push_back(alert);
  for (std::string& line : alertLines(alert)) log_.show(std::move(line));

  open_.push_back(alert);
  runLoop_.enterModal();
  long response = abortResponse;
  if (handler_) {
    response = handler_(alert);
  } else if (!responses_.empty()) {
    response = responses_.front();
    responses_.pop_front();
  }
  runLoop_.exitModal();
  open_.pop_back();
  return response;
}

}  // namespace wheelright::sim
