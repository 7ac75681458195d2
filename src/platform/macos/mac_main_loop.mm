// MainLoop over NSTimer and the main dispatch queue.

#import <Foundation/Foundation.h>

#include <dispatch/dispatch.h>

#include <functional>
#include <memory>
#include <utility>

#include "platform/macos/mac_objects.h"
#include "platform/macos/mac_services.h"

namespace wheelright {
namespace {

class MacRepeatingTimer final : public RepeatingTimer {
 public:
  explicit MacRepeatingTimer(NSTimer* timer) : timer_(timer) {}
  MacRepeatingTimer(const MacRepeatingTimer&) = delete;
  MacRepeatingTimer& operator=(const MacRepeatingTimer&) = delete;
  ~MacRepeatingTimer() override { invalidate(); }

  void invalidate() override { [timer_ invalidate]; }
  bool isValid() const override { return timer_.valid; }

 private:
  NSTimer* timer_;
};

// Every job of the main queue, posted or started as a task, goes through here.
void enqueueOnMainQueue(std::function<void()> work) {
  dispatch_async(dispatch_get_main_queue(), ^{
    if (work) work();
  });
}

class MacMainLoop final : public MainLoop {
 public:
  std::unique_ptr<RepeatingTimer> scheduleRepeatingTimer(double intervalSeconds,
                                                         std::function<void()> action) override {
    return std::make_unique<MacRepeatingTimer>(
        scheduledRepeatingTimer(intervalSeconds, std::move(action)));
  }

  void postToMainQueue(std::function<void()> job) override { enqueueOnMainQueue(std::move(job)); }

  // A main-actor task is a job of the main queue as well: it runs after the current one ends.
  void startMainThreadTask(std::function<void()> task) override {
    enqueueOnMainQueue(std::move(task));
  }

  double now() const override { return NSProcessInfo.processInfo.systemUptime; }
};

}  // namespace

NSTimer* scheduledRepeatingTimer(double intervalSeconds, std::function<void()> action) {
  // A firing may destroy the timer's owner and so invalidate the timer, which releases this
  // block; the action therefore runs from a reference of its own.
  auto shared = std::make_shared<const std::function<void()>>(std::move(action));
  NSTimer* timer = [NSTimer scheduledTimerWithTimeInterval:intervalSeconds
                                                   repeats:YES
                                                     block:^(NSTimer* /*firing*/) {
                                                       const auto keep = shared;
                                                       if (*keep) (*keep)();
                                                     }];
  timer.tolerance = intervalSeconds * repeatingTimerTolerance;
  return timer;
}

std::shared_ptr<MainLoop> makeMacMainLoop() { return std::make_shared<MacMainLoop>(); }

}  // namespace wheelright
