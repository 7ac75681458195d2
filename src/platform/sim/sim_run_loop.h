#pragma once
// The simulated main run loop: repeating timers, the main queue and main-thread tasks, on a
// manual clock that only moves when told (tests, piped console) or on the real clock (a person
// at a terminal). A modal mode stands for an open alert: timers wait, posted jobs still run.
// Re-entrant: a job may open an alert whose modal loop runs further jobs.

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/main_loop.h"
#include "platform/sim/desktop_log.h"

namespace wheelright::sim {

class SimRunLoop final : public MainLoop {
 public:
  enum class Clock { manual, real };

  SimRunLoop(DesktopLog& log, Clock clock);
  ~SimRunLoop() override;
  SimRunLoop(const SimRunLoop&) = delete;
  SimRunLoop& operator=(const SimRunLoop&) = delete;

  std::unique_ptr<RepeatingTimer> scheduleRepeatingTimer(double intervalSeconds,
                                                         std::function<void()> action) override;
  void postToMainQueue(std::function<void()> job) override;
  void startMainThreadTask(std::function<void()> task) override;

  Clock clock() const { return clock_; }
  // Seconds since the loop was made.
  double now() const;
  // Runs posted jobs (first in, first out, also those posted meanwhile), then the timers due
  // now, until nothing is left to run.
  void runPending();
  // Lets time pass, running everything that falls due in time order; the manual clock jumps
  // from firing to firing, the real clock sleeps.
  void advance(double seconds);
  // Until the next timer may fire; none without timers or in the modal mode.
  std::optional<double> secondsUntilNextTimer() const;

  // The modal panel mode, entered once per open alert.
  void enterModal() { ++modalDepth_; }
  void exitModal();
  bool isModal() const { return modalDepth_ > 0; }

  // The process is ending: nothing more runs.
  void stop() { isStopped_ = true; }
  bool isStopped() const { return isStopped_; }

  std::size_t pendingJobCount() const { return jobs_.size(); }
  std::size_t validTimerCount() const;

 private:
  struct Timer;
  class TimerHandle;

  void runJobs();
  // Runs what is due up to the given time: jobs, then timers in order of their firing times.
  void runUntil(double time);
  std::shared_ptr<Timer> nextDueTimer(double time);
  void fire(const std::shared_ptr<Timer>& timer);
  void sleepUntil(double time) const;

  DesktopLog& log_;
  const Clock clock_;
  const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  double manualNow_ = 0;
  std::deque<std::function<void()>> jobs_;
  std::vector<std::shared_ptr<Timer>> timers_;
  int modalDepth_ = 0;
  bool isStopped_ = false;
};

}  // namespace wheelright::sim
