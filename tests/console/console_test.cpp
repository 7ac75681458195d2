#include "console/console.h"

#include <gtest/gtest.h>

#include <sstream>
#include <streambuf>
#include <string>
#include <variant>
#include <vector>

#include "console/console_command.h"
#include "platform/sim/sim_localizer.h"

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

// Every table but the Korean one carries a whole session, from the checklist through each status
// to the tap's error: the console shows that table itself, not a fallback, and no Hangul at all.
TEST(ConsoleTest, EveryLanguageButKoreanShowsNoHangul) {
  // Hangul jamo, compatibility jamo and syllables: three bytes each in UTF-8.
  const auto hasHangul = [](const std::string& text) {
    for (std::size_t i = 0; i + 2 < text.size(); ++i) {
      const auto byte = [&](std::size_t k) {
        return char32_t{static_cast<unsigned char>(text[i + k])};
      };
      const char32_t c = (byte(0) & 0x0F) << 12 | (byte(1) & 0x3F) << 6 | (byte(2) & 0x3F);
      if ((byte(0) & 0xF0) == 0xE0 && ((c >= 0x1100 && c < 0x1200) || (c >= 0x3130 && c < 0x3190) ||
                                       (c >= 0xAC00 && c < 0xD7B0)))
        return true;
    }
    return false;
  };
  for (const std::string& language : sim::localizationsIn(WHEELRIGHT_LOCALIZATION_DIR)) {
    if (language == "ko") continue;
    std::istringstream in(
        "press 1\nnatural on\nwait 1.5\npress 2\nmenu\ntrust on\nwait 1.5\nmenu\nnatural off\n"
        "wait 1.5\npress 2\nmenu\nchoose 2\nmenu\ntap fail create\nnatural on\nchoose 1\nmenu\n");
    std::ostringstream out;
    StreamInput input(in);
    sim::SimDesktop::Options options;
    options.preferredLanguage = language;
    const auto desktop = sim::SimDesktop::create(options);
    const Command naturalOff = std::get<Command>(parseCommand("natural off"));
    EXPECT_EQ(Console(desktop, input, out, {.echoesInput = false, .desktop = {naturalOff}}).run(),
              0);
    EXPECT_EQ(desktop->localizer().localization(), language);
    EXPECT_FALSE(hasHangul(out.str())) << language << ":\n" << out.str();
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

}  // namespace
}  // namespace wheelright::console
