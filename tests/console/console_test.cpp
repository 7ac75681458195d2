#include "console/console.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

namespace wheelright::console {
namespace {

using Lines = std::vector<std::string>;

// The transcripts cover the commands; here, how a run ends: the checklist that a new desktop opens
// is still waiting, and the run ends cleanly all the same, at the end of the input or at quit or
// exit, without asking the application to terminate and without reading further.
TEST(ConsoleTest, TheEndOfInputQuitAndExitEndTheRunAlsoWhileAnAlertIsOpen) {
  for (const char* script : {"", "natural off\nwait 3\n", "quit\nstate\n", "  exit \npress 2\n"}) {
    std::istringstream in(script);
    std::ostringstream out;
    StreamInput input(in);
    auto desktop = sim::SimDesktop::create();
    EXPECT_EQ(Console(desktop, input, out).run(), 0);
    EXPECT_TRUE(out.str().ends_with("  button 2: 나중에\n")) << out.str();
    EXPECT_FALSE(desktop->system().isTerminated());
  }
}

// Accepts the first `limit` bytes, then fails as a full device does.
class FillingBuffer final : public std::streambuf {
 public:
  explicit FillingBuffer(std::size_t limit) : limit_(limit) {}
  std::string written;

 private:
  int_type overflow(int_type c) override {
    if (written.size() >= limit_) return traits_type::eof();
    written.push_back(traits_type::to_char_type(c));
    return c;
  }
  std::size_t limit_;
};

// Output that cannot be written ends the run at once, with a failure, and the rest of the input is
// left unread.
TEST(ConsoleTest, OutputThatCannotBeWrittenEndsTheRun) {
  const std::string script = "press 2\nstate\ntrust on\nwait 1.5\nstate\n";
  std::istringstream fullIn(script);
  std::ostringstream fullOut;
  StreamInput fullInput(fullIn);
  ASSERT_EQ(Console(sim::SimDesktop::create(), fullInput, fullOut).run(), 0);
  const std::string stateLine = "state: status=permissionRequired";
  ASSERT_NE(fullOut.str().find(stateLine), std::string::npos);

  for (const std::size_t limit : {std::size_t{0}, fullOut.str().find(stateLine) + 3}) {
    std::istringstream in(script);
    FillingBuffer buffer(limit);
    std::ostream out(&buffer);
    StreamInput input(in);
    Console console(sim::SimDesktop::create(), input, out);
    EXPECT_EQ(console.run(), 1) << limit;
    EXPECT_TRUE(console.outputFailure().starts_with("wheelright: cannot write the output: "))
        << console.outputFailure();
    EXPECT_EQ(buffer.written, fullOut.str().substr(0, limit));
    std::string unread;
    std::getline(in, unread);
    EXPECT_EQ(unread, limit == 0 ? "press 2" : "trust on");
  }
}

// Takes every byte but cannot pass them on, as a buffered write to a full disk fails only when
// it is flushed: the console flushes after each command, so the failure ends the run there.
class UnflushableBuffer final : public std::streambuf {
  int_type overflow(int_type c) override { return c; }
  int sync() override { return -1; }
};

TEST(ConsoleTest, AFlushThatFailsEndsTheRunBeforeTheNextCommand) {
  std::istringstream in("state\nstate\n");
  UnflushableBuffer buffer;
  std::ostream out(&buffer);
  StreamInput input(in);
  Console console(sim::SimDesktop::create(), input, out);
  EXPECT_EQ(console.run(), 1);
  EXPECT_FALSE(console.outputFailure().empty());
  std::string unread;
  std::getline(in, unread);
  EXPECT_EQ(unread, "state") << "the launch's output already failed";
}

// NSApplication terminate: does not return to the run loop: the rest of the job that quits shows
// nothing, and no job queued behind it and no timer runs.
TEST(ConsoleTest, TerminationEndsTheProgramAtOnce) {
  auto desktop = sim::SimDesktop::create();
  sim::SimRunLoop& loop = desktop->runLoop();
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
  std::ofstream(folder / sim::FileUserDefaults::fileName) << written;

  auto desktop = sim::SimDesktop::create({.defaultsDirectory = folder});
  desktop->system().setAnotherCopyRunning(true);
  EXPECT_EQ(WheelrightApp::create(desktop->platform()), nullptr);
  desktop->advance(10);

  EXPECT_EQ(desktop->calls(), (Lines{"isAnotherCopyRunning", "terminate"}));
  EXPECT_EQ(desktop->output(), Lines{"system: terminated"});
  EXPECT_FALSE(desktop->statusItem().isShown());
  std::ostringstream after;
  after << std::ifstream(folder / sim::FileUserDefaults::fileName).rdbuf();
  EXPECT_EQ(after.str(), written);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace wheelright::console
