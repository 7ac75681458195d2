// The main run loop as the application uses it: the polling timer's mode, and the order of jobs
// on the main queue. Runs the loop until what it waits for happens. Also the
// test program's entry, which makes the shared application as Wheelright.app does.

#import <AppKit/AppKit.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/macos/mac_services.h"
#include "run_loop_wait.h"

namespace wheelright {
namespace {

TEST(MacMainLoop, TheRepeatingTimerFiresInTheDefaultModeAndNotInTheModalPanelMode) {
  const std::shared_ptr<MainLoop> loop = makeMacMainLoop();
  int firings = 0;
  const auto timer = loop->scheduleRepeatingTimer(0.02, [&firings] { ++firings; });
  runLoopUntil(NSModalPanelRunLoopMode, 0.2);  // as while an alert runs
  EXPECT_EQ(firings, 0);
  EXPECT_TRUE(runLoopUntil(NSDefaultRunLoopMode, 2.0, [&firings] { return firings >= 2; }));
  timer->invalidate();
  EXPECT_FALSE(timer->isValid());
  const int firingsBefore = firings;
  runLoopUntil(NSDefaultRunLoopMode, 0.1);
  EXPECT_EQ(firings, firingsBefore);
}

// The rule the simulated run loop follows: the main queue is serial, so a nested run loop inside
// one of its jobs (an alert's) does not start the next job.
TEST(MacMainLoop, AJobPostedFromAJobThatSpinsTheRunLoopRunsAfterThatJobReturns) {
  const std::shared_ptr<MainLoop> loop = makeMacMainLoop();
  std::vector<std::string> log;
  loop->postToMainQueue([&log, &loop] {
    log.emplace_back("outer begins");
    loop->postToMainQueue([&log] { log.emplace_back("inner"); });
    runLoopUntil(NSDefaultRunLoopMode, 0.2, [&log] { return log.size() > 1; });
    log.emplace_back("outer returns");
  });
  runLoopUntil(NSDefaultRunLoopMode, 2.0, [&log] { return log.size() == 3; });
  EXPECT_EQ(log, (std::vector<std::string>{"outer begins", "outer returns", "inner"}));
}

}  // namespace
}  // namespace wheelright

int main(int argc, char** argv) {
  @autoreleasepool {
    [NSApplication sharedApplication];
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
  }
}
