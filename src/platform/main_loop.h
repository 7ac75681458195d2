#pragma once
// The main run loop: a repeating timer (NSTimer scheduledTimerWithTimeInterval:repeats:block:),
// a job posted to the main dispatch queue, and a task bound to the main thread. Every callable
// runs later on the main thread, never inside the call that hands it over.

#include <functional>
#include <memory>

namespace wheelright {

// A scheduled repeating timer; invalidate stops it for good. Destroying the handle invalidates.
class RepeatingTimer {
 public:
  virtual ~RepeatingTimer() = default;
  virtual void invalidate() = 0;
  virtual bool isValid() const = 0;
};

class MainLoop {
 public:
  virtual ~MainLoop() = default;

  // First firing one interval after scheduling, then every interval; does not fire while a
  // modal alert runs.
  virtual std::unique_ptr<RepeatingTimer> scheduleRepeatingTimer(double intervalSeconds,
                                                                 std::function<void()> action) = 0;
  // dispatch_async on the main queue. The queue is serial: a job posted while another runs (one
  // that shows a modal alert included) runs after that one has returned.
  virtual void postToMainQueue(std::function<void()> job) = 0;
  // An asynchronous task bound to the main thread: runs later as a job of its own.
  virtual void startMainThreadTask(std::function<void()> task) = 0;
  // Seconds on a clock that only moves forward, for measuring how long something has lasted.
  virtual double now() const = 0;
};

}  // namespace wheelright
