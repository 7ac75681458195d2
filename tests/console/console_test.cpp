#include "console/console.h"

#include <gtest/gtest.h>

#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "console/desktop_text.h"
#include "menubar/menu_content.h"
#include "model/app_model.h"

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

// Accepts the first `limit` bytes, then fails as a full device does; or takes every byte but
// cannot pass them on, as a buffered write to a full disk fails only when it is flushed.
class FillingBuffer final : public std::streambuf {
 public:
  explicit FillingBuffer(std::size_t limit, bool isFlushable = true)
      : limit_(limit), isFlushable_(isFlushable) {}
  std::string written;

 private:
  int_type overflow(int_type c) override {
    if (written.size() >= limit_) return traits_type::eof();
    written.push_back(traits_type::to_char_type(c));
    return c;
  }
  int sync() override { return isFlushable_ ? 0 : -1; }
  std::size_t limit_;
  bool isFlushable_;
};

// Output that cannot be written ends the run at once, with a failure, and the rest of the input is
// left unread; a flush that fails ends the run before the next command.
TEST(ConsoleTest, OutputThatCannotBeWrittenEndsTheRun) {
  const std::string script = "press 2\nstate\ntrust on\nwait 1.5\nstate\n";
  std::istringstream fullIn(script);
  std::ostringstream fullOut;
  StreamInput fullInput(fullIn);
  ASSERT_EQ(Console(sim::SimDesktop::create(), fullInput, fullOut).run(), 0);
  const std::size_t state = fullOut.str().find("state: status=permissionRequired");
  ASSERT_NE(state, std::string::npos);
  const std::tuple<std::size_t, bool, const char*> rows[] = {
      {0, true, "press 2"}, {state + 3, true, "trust on"}, {SIZE_MAX, false, "state"}};
  for (const auto& [limit, isFlushable, unread] : rows) {
    std::istringstream in(script);
    FillingBuffer buffer(limit, isFlushable);
    std::ostream out(&buffer);
    StreamInput input(in);
    Console console(sim::SimDesktop::create(), input, out);
    EXPECT_EQ(console.run(), 1) << limit;
    EXPECT_TRUE(console.outputFailure().starts_with("wheelright: cannot write the output: "))
        << console.outputFailure();
    if (isFlushable) {
      EXPECT_EQ(buffer.written, fullOut.str().substr(0, limit));
    }
    std::string next;
    std::getline(in, next);
    EXPECT_EQ(next, unread);
  }
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

// A second copy ends before it touches anything of the user's: every read or write of the
// defaults would be a platform call.
TEST(ConsoleTest, ALaunchBesideAnotherCopyEndsBeforeItTouchesAnything) {
  auto desktop = sim::SimDesktop::create();
  desktop->system().setAnotherCopyRunning(true);
  EXPECT_EQ(WheelrightApp::create(desktop->platform()), nullptr);
  desktop->advance(10);
  EXPECT_EQ(desktop->calls(), (Lines{"isAnotherCopyRunning", "terminate"}));
  EXPECT_EQ(desktop->output(), Lines{"system: terminated"});
}

// The menu of each status is in the transcripts; here, what they do not show: each switch shows
// its own value, and an error text stands exactly as stored.
TEST(MenuLines, SwitchesShowTheirOwnValuesAndTheErrorTextStandsAsStored) {
  const MenuValues values{AppModel::Status::error("  two\nlines "), true, false, true, false, true};
  EXPECT_EQ(menuLines({"Wheelright", "xmark.circle"},
                      menuEntries(values, {}, sim::SimDesktop::create()->localizer())),
            (Lines{"menu: xmark.circle Wheelright", "  오류", "    two\nlines ", "  ---",
                   "  1 [ ] Wheelright 활성화", "  2 [x] 마우스 세로 스크롤 반전",
                   "  3 [ ] 마우스 가로 스크롤 반전", "  4 [x] 부드러운 휠 호환 모드", "  ---",
                   "  5 [x] 로그인 시 실행", "  ---", "  6 Wheelright 종료 (cmd-q)"}));
}

}  // namespace
}  // namespace wheelright::console
