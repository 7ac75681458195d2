#pragma once
// The simulated main run loop: repeating timers, the main queue and main-thread tasks, on a
// manual clock that only moves when told (tests, piped console) or on the real clock (a person
// at a terminal). It keeps the rules of the Mac's main run loop: the main queue is serial, so a
// job posted while another runs (one that shows a modal alert included) waits until that one has
// returned; a modal mode stands for an open alert, in which timers wait; a timer that fell due
// meanwhile fires once, as soon as it may.

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
  SimRunLoop(const SimRunLoop&) = delete;
  SimRunLoop& operator=(const SimRunLoop&) = delete;

  std::unique_ptr<RepeatingTimer> scheduleRepeatingTimer(double intervalSeconds,
                                                         std::function<void()> action) override;
  void postToMainQueue(std::function<void()> job) override;
  void startMainThreadTask(std::function<void()> task) override;

  Clock clock() const { return clock_; }
  // Seconds since the loop was made.
  double now() const override;
  // Runs posted jobs (first in, first out, also those posted meanwhile), then the timers due
  // now, until nothing is left to run. Inside a job (an alert's modal loop) no other job runs.
  void runPending();
  // Lets time pass, running everything that falls due in time order; the manual clock jumps
  // from firing to firing, the real clock sleeps.
  void advance(double seconds);
  // Until the next timer may fire; none without timers or in the modal mode.
  std::optional<double> secondsUntilNextTimer() const;

  // The modal panel mode, entered once per open alert.
  void enterModal() { ++modalDepth_; }
  void exitModal() { --modalDepth_; }
  bool isModal() const { return modalDepth_ > 0; }

  // The Mac sleeps: timers wait, as in the modal mode, and fire once when it wakes.
  void setAsleep(bool asleep) { isAsleep_ = asleep; }

  // The process has ended: nothing more runs, not even what is queued.
  void stop() { isStopped_ = true; }

  std::size_t pendingJobCount() const { return jobs_.size(); }
  std::size_t validTimerCount() const;

 private:
  struct Timer;
  class TimerHandle;

  void runJobs();
  // Runs what is due up to the given time: jobs, then timers in order of their firing times.
  void runUntil(double time);
  // The valid timer that fires next; none in the modal mode.
  std::shared_ptr<Timer> earliestTimer() const;
  void fire(const std::shared_ptr<Timer>& timer);
  void sleepUntil(double time) const;

  DesktopLog& log_;
  const Clock clock_;
  const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  double manualNow_ = 0;
  std::deque<std::function<void()>> jobs_;
  std::vector<std::shared_ptr<Timer>> timers_;
  int modalDepth_ = 0;
  bool isAsleep_ = false;
  bool isRunningJob_ = false;
  bool isStopped_ = false;
};

}  // namespace wheelright::sim
