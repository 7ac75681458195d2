#include "platform/sim/sim_run_loop.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace wheelright::sim {
namespace {

std::string timeText(double seconds) {
  std::ostringstream text;
  text << seconds;
  return text.str();
}

using Lines = std::vector<std::string>;

class SimRunLoopTest : public ::testing::Test {
 protected:
  // Records "<what>@<virtual time>".
  std::function<void()> note(std::string what) {
    return [this, what] { seen.push_back(what + "@" + timeText(loop.now())); };
  }

  DesktopLog log;
  SimRunLoop loop{log, SimRunLoop::Clock::manual};
  std::vector<std::string> seen;
};

TEST_F(SimRunLoopTest, JobsRunFirstInFirstOutBeforeTimersDueAndNeverInsideThePost) {
  const auto timer = loop.scheduleRepeatingTimer(1, note("timer"));
  loop.postToMainQueue([this] {
    seen.push_back("job 1");
    loop.postToMainQueue(note("posted by job 1"));
  });
  loop.startMainThreadTask(note("task"));
  EXPECT_TRUE(seen.empty()) << "handing work over runs none of it";
  loop.advance(1);
  EXPECT_EQ(seen, (std::vector<std::string>{"job 1", "task@0", "posted by job 1@0", "timer@1"}));
}

// The main queue is serial, as on the Mac: an alert's modal loop runs inside a job, and nothing
// posted meanwhile runs before that job returns; a timer that fell due in the meantime fires
// once, right after it.
TEST_F(SimRunLoopTest, AJobShowingAnAlertHoldsBackLaterJobsAndTimersUntilItReturns) {
  const auto timer = loop.scheduleRepeatingTimer(1.5, note("timer"));
  loop.postToMainQueue([this] {
    loop.enterModal();
    loop.postToMainQueue(note("posted during the alert"));
    loop.startMainThreadTask(note("task during the alert"));
    loop.advance(4);  // what the alert's modal loop does while the user takes their time
    EXPECT_FALSE(loop.secondsUntilNextTimer()) << "a terminal waits for typing, not for a timer";
    seen.push_back("alert closed");
    loop.exitModal();
  });
  loop.postToMainQueue(note("queued behind the alert"));
  loop.runPending();
  // Missed firings collapse into one; the schedule goes on from the original start.
  loop.advance(2);
  EXPECT_EQ(seen, (Lines{"alert closed", "queued behind the alert@4", "posted during the alert@4",
                         "task during the alert@4", "timer@4", "timer@4.5", "timer@6"}));
  EXPECT_EQ(loop.pendingJobCount(), 0u);
}

TEST_F(SimRunLoopTest, AJobThatThrowsLeavesTheQueueServingLaterJobs) {
  loop.postToMainQueue([] { throw std::runtime_error("a platform call failed"); });
  loop.postToMainQueue(note("next"));
  EXPECT_THROW(loop.runPending(), std::runtime_error);
  loop.runPending();
  EXPECT_EQ(seen, (std::vector<std::string>{"next@0"}));
}

}  // namespace
}  // namespace wheelright::sim
