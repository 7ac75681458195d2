#include "platform/sim/sim_run_loop.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <thread>
#include <utility>

#include "base/scope_exit.h"

namespace wheelright::sim {

struct SimRunLoop::Timer {
  double start = 0;
  double interval = 0;
  double nextFire = 0;
  std::function<void()> action;  // empty once the timer is invalidated
};

class SimRunLoop::TimerHandle final : public RepeatingTimer {
 public:
  explicit TimerHandle(std::shared_ptr<Timer> timer) : timer_(std::move(timer)) {}
  ~TimerHandle() override { invalidate(); }
  // Drops what the action holds, as NSTimer releases its block.
  void invalidate() override { timer_->action = nullptr; }
  bool isValid() const override { return static_cast<bool>(timer_->action); }

 private:
  std::shared_ptr<Timer> timer_;
};

SimRunLoop::SimRunLoop(DesktopLog& log, Clock clock) : log_(log), clock_(clock) {}

std::unique_ptr<RepeatingTimer> SimRunLoop::scheduleRepeatingTimer(double intervalSeconds,
                                                                   std::function<void()> action) {
  std::ostringstream interval;
  interval << intervalSeconds;
  log_.call("scheduleRepeatingTimer interval=" + interval.str());
  auto timer = std::make_shared<Timer>();
  timer->start = now();
  timer->interval = intervalSeconds;
  timer->nextFire = timer->start + timer->interval;
  timer->action = std::move(action);
  timers_.push_back(timer);
  return std::make_unique<TimerHandle>(std::move(timer));
}

void SimRunLoop::postToMainQueue(std::function<void()> job) {
  log_.call("postToMainQueue");
  jobs_.push_back(std::move(job));
}

void SimRunLoop::startMainThreadTask(std::function<void()> task) {
  log_.call("startMainThreadTask");
  jobs_.push_back(std::move(task));
}

double SimRunLoop::now() const {
  if (clock_ == Clock::manual) return manualNow_;
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
}

void SimRunLoop::runPending() { runUntil(now()); }

void SimRunLoop::advance(double seconds) {
  const double deadline = now() + std::max(seconds, 0.0);
  if (clock_ == Clock::manual) {
    runUntil(deadline);
    return;
  }
  for (;;) {
    runPending();
    if (isStopped_ || now() >= deadline) return;
    const std::optional<double> untilTimer = secondsUntilNextTimer();
    sleepUntil(untilTimer ? std::min(deadline, now() + *untilTimer) : deadline);
  }
}

std::optional<double> SimRunLoop::secondsUntilNextTimer() const {
  const std::shared_ptr<Timer> timer = earliestTimer();
  if (!timer) return std::nullopt;
  return std::max(0.0, timer->nextFire - now());
}

std::size_t SimRunLoop::validTimerCount() const {
  return static_cast<std::size_t>(
      std::count_if(timers_.begin(), timers_.end(),
                    [](const auto& timer) { return static_cast<bool>(timer->action); }));
}

void SimRunLoop::runJobs() {
  // The main queue is serial: the run loop does not service it again from inside one of its own
  // jobs, so what a job posts (or what is posted while its alert is open) waits for it to return.
  if (isRunningJob_) return;
  while (!jobs_.empty() && !isStopped_) {
    std::function<void()> job = std::move(jobs_.front());
    jobs_.pop_front();
    isRunningJob_ = true;
    const ScopeExit jobReturned([this] { isRunningJob_ = false; });
    job();
  }
}

void SimRunLoop::runUntil(double time) {
  for (;;) {
    runJobs();
    if (isStopped_) return;
    // A wait inside a job (while its alert was open) may have moved the clock past the time
    // asked for; what fell due meanwhile runs now.
    std::erase_if(timers_, [](const auto& timer) { return !timer->action; });
    const std::shared_ptr<Timer> timer = earliestTimer();
    if (!timer || timer->nextFire > std::max(time, now())) break;
    if (clock_ == Clock::manual) manualNow_ = std::max(manualNow_, timer->nextFire);
    fire(timer);
  }
  if (clock_ == Clock::manual) manualNow_ = std::max(manualNow_, time);
}

std::shared_ptr<SimRunLoop::Timer> SimRunLoop::earliestTimer() const {
  if (isModal() || isAsleep_) return nullptr;
  std::shared_ptr<Timer> earliest;
  for (const auto& timer : timers_) {
    // Ties fire in the order the timers were scheduled.
    if (timer->action && (!earliest || timer->nextFire < earliest->nextFire)) earliest = timer;
  }
  return earliest;
}

void SimRunLoop::fire(const std::shared_ptr<Timer>& timer) {
  // A repeating timer keeps to its schedule: firings missed while it could not fire (modal
  // mode, a long job) collapse into this one, and the next is the first scheduled time after now.
  const double current = now();
  const auto scheduled = [&timer](double n) { return timer->start + n * timer->interval; };
  double n = std::floor((current - timer->start) / timer->interval) + 1;
  while (scheduled(n) <= current) ++n;
  while (n > 1 && scheduled(n - 1) > current) --n;
  timer->nextFire = scheduled(n);
  // The action may invalidate its own timer, which drops the stored copy.
  const std::function<void()> action = timer->action;
  if (action) action();
}

void SimRunLoop::sleepUntil(double time) const {
  const double seconds = time - now();
  if (seconds > 0) std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

}  // namespace wheelright::sim
