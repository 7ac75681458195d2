#pragma once
// Simulated modal alerts: each alert is recorded, and the run loop stays in its modal mode while
// the alert waits for its answer. The answer comes from a handler (the console shows the alert
// and reads the person's choice there, a test may run jobs there); without one, the alert is
// aborted.

#include <functional>
#include <vector>

#include "platform/alert_presenter.h"
#include "platform/sim/desktop_log.h"
#include "platform/sim/sim_run_loop.h"

namespace wheelright::sim {

class SimAlertPresenter final : public AlertPresenter {
 public:
  using Handler = std::function<long(const AlertContent&)>;
  // NSModalResponseAbort: the alert ended without any button.
  static constexpr long abortResponse = -1001;

  SimAlertPresenter(DesktopLog& log, SimRunLoop& runLoop) : log_(log), runLoop_(runLoop) {}

  void activateIgnoringOtherApps() override;
  long runModal(const AlertContent& alert) override;

  // Answers every alert from now on; called inside the modal mode.
  void setHandler(Handler handler) { handler_ = std::move(handler); }

  // Every alert run so far, in order.
  const std::vector<AlertContent>& alerts() const { return alerts_; }
  // The alert that is waiting for its answer now, if any. Alerts run in jobs of the serial main
  // queue, so one never opens inside another.
  const AlertContent* openAlert() const { return runLoop_.isModal() ? &alerts_.back() : nullptr; }

 private:
  DesktopLog& log_;
  SimRunLoop& runLoop_;
  Handler handler_;
  std::vector<AlertContent> alerts_;
};

}  // namespace wheelright::sim
