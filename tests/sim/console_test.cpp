#include "platform/sim/console.h"

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

Lines join(std::initializer_list<Lines> parts) {
  Lines all;
  for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// What a new desktop shows at launch: the icon, then the checklist with trust missing.
const Lines launch = {
    "icon: exclamationmark.triangle",
    "alert: warning: Wheelright 사용 준비",
    "  | Wheelright이 동작하려면 아래 두 항목이 모두 필요합니다.",
    "  |",
    "  | 1. 자연스러운 스크롤 켜기  ✅ 완료",
    "  | 2. 손쉬운 사용 권한 허용  ⚠️ 설정 필요",
    "  |",
    "  | 두 항목을 완료하면 Wheelright이 자동으로 시작됩니다.",
    "  icon: checklist (Wheelright 설정 체크리스트)",
    "  button 1: 2번 손쉬운 사용 설정 열기",
    "  button 2: 나중에",
};

Lines menuWhilePermissionRequired(const char* horizontal) {
  return {
      "menu: exclamationmark.triangle Wheelright",
      "  ⚠️ 손쉬운 사용 권한 필요",
      "  ---",
      "  1 [x] Wheelright 활성화",
      "  2 [x] 마우스 세로 스크롤 반전",
      std::string("  3 ") + horizontal + " 마우스 가로 스크롤 반전",
      "  4 [ ] 부드러운 휠 호환 모드",
      "  ---",
      "  5 손쉬운 사용 권한 설정…",
      "  ---",
      "  6 [ ] 로그인 시 실행",
      "  ---",
      "  7 Wheelright 종료 (cmd-q)",
  };
}

Lines play(const std::string& script) {
  auto desktop = SimDesktop::create();
  std::istringstream in(script);
  std::ostringstream out;
  StreamInput input(in);
  EXPECT_EQ(Console(desktop, input, out).run(), 0) << script;
  Lines lines;
  std::istringstream shown(out.str());
  for (std::string line; std::getline(shown, line);) lines.push_back(line);
  return lines;
}

TEST(ConsoleTest, CommandsAreRefusedWhenNotAllowedNowAndTheRunEndsCleanly) {
  struct Row {
    const char* what;
    std::string script;
    Lines output;
  };
  const std::vector<Row> rows = {
      {"end of input while an alert is open", "", launch},
      {"the menu waits for the alert; buttons need an alert",
       "menu\nchoose 1\nkey cmd-q\npress 9\npress 2\npress 1\nrespond 1000\nmenu\n",
       join({launch,
             {"error: the menu cannot be used while an alert is open",
              "error: the menu cannot be used while an alert is open",
              "error: the menu cannot be used while an alert is open",
              "error: the alert has no button 9", "error: no alert is open",
              "error: no alert is open"},
             menuWhilePermissionRequired("[ ]")})},
      {"nothing after termination",
       "press 2\ntap disable silent\nchoose 미정\nkey cmd-x\nkey cmd-q\nstate\n",
       join({launch,
             {"error: no event tap is installed", "error: the menu has no entry \"미정\"",
              "error: no menu entry has the key equivalent cmd-x", "system: terminated"}})},
      {"the desktop's view of the tap",
       "press 2\ntrust on\nwait 1.5\ntap disable silent\nstate\ntap disable timeout\nstate\n",
       join({launch,
             {"icon: arrow.up.and.down.circle.fill",
              "state: status=active tap=disabled natural=on trust=on login=off",
              "state: status=active tap=running natural=on trust=on login=off"}})},
      {"a relaunch keeps the stored switches",
       "press 2\nchoose 3\nrelaunch\npress 2\nmenu\ndefaults\n",
       join({launch,
             launch,
             menuWhilePermissionRequired("[x]"),
             {"defaults: hasShownNaturalScrollOnboarding=true reverseHorizontal=true"}})},
      {"no relaunch inside an alert", "relaunch\npress 2\nstate\n",
       join({launch,
             {"error: relaunch is not possible while an alert is open",
              "state: status=permissionRequired tap=idle natural=on trust=off login=off"}})},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(play(row.script), row.output) << row.what;
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
