#include "console/console.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace wheelright::sim {
namespace {

using Lines = std::vector<std::string>;

// The transcripts cover the commands; here, how a run ends without one: the checklist that a new
// desktop opens is still waiting, and the run ends cleanly all the same.
TEST(ConsoleTest, TheEndOfInputEndsTheRunAlsoWhileAnAlertIsOpen) {
  for (const char* script : {"", "natural off\nwait 3\n"}) {
    std::istringstream in(script);
    std::ostringstream out;
    StreamInput input(in);
    EXPECT_EQ(Console(SimDesktop::create(), input, out).run(), 0);
    EXPECT_TRUE(out.str().ends_with("  button 2: 나중에\n")) << out.str();
  }
}

// NSApplication terminate: does not return to the run loop: the rest of the job that quits shows
// nothing, and no job queued behind it and no timer runs.
TEST(ConsoleTest, TerminationEndsTheProgramAtOnce) {
  auto desktop = SimDesktop::create();
  SimRunLoop& loop = desktop->runLoop();
  Lines ran;
  const auto timer = loop.scheduleRepeatingTimer(1, [&ran] { ran.push_back("timer"); });
  loop.postToMainQueue([&] {
    desktop->system().terminate();
    desktop->log().show("icon: shown after terminating");
    ran.push_back("the rest of the quitting job");
  });
  loop.postToMainQueue([&ran] { ran.push_back("queued job"); });
  loop.advance(5);
  EXPECT_EQ(ran, Lines{"the rest of the quitting job"});
  EXPECT_EQ(desktop->output(), Lines{"system: terminated"});
}

// A second copy ends before it touches anything of the user's: the defaults file, written by hand
// in a form the store would never write, stays byte for byte as it was.
TEST(ConsoleTest, ALaunchBesideAnotherCopyEndsBeforeItTouchesAnything) {
  std::string pattern = (std::filesystem::path(::testing::TempDir()) / "copy-XXXXXX").string();
  ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
  const std::filesystem::path folder = pattern;
  const std::string written = "reverseHorizontal = true\n# by hand\nnot a setting\n";
  std::ofstream(folder / FileUserDefaults::fileName) << written;

  auto desktop = SimDesktop::create({.defaultsDirectory = folder});
  desktop->system().setAnotherCopyRunning(true);
  EXPECT_EQ(WheelrightApp::create(desktop->platform()), nullptr);
  desktop->advance(10);

  EXPECT_EQ(desktop->calls(), (Lines{"isAnotherCopyRunning", "terminate"}));
  EXPECT_EQ(desktop->output(), Lines{"system: terminated"});
  EXPECT_FALSE(desktop->statusItem().isShown());
  std::ostringstream after;
  after << std::ifstream(folder / FileUserDefaults::fileName).rdbuf();
  EXPECT_EQ(after.str(), written);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace wheelright::sim
