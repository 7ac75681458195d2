#include <gtest/gtest.h>

#include "model/model_fixture.h"
#include "model/system_probes.h"

namespace wheelright {
namespace {

using Status = AppModel::Status;
using testing::CallLog;
using testing::ModelTest;

std::string checklist(const char* first, const char* second) {
  return std::string("Wheelright이 동작하려면 아래 두 항목이 모두 필요합니다.\n\n1. 자연스러운 스크롤 켜기  ") +
         first + "\n2. 손쉬운 사용 권한 허용  " + second +
         "\n\n두 항목을 완료하면 Wheelright이 자동으로 시작됩니다.";
}
constexpr const char* done = "✅ 완료";
constexpr const char* missing = "⚠️ 설정 필요";

TEST_F(ModelTest, ChecklistContentForEachCombination) {
  struct Row {
    bool natural, trusted;
    AlertStyle style;
    std::string text;
    std::vector<std::string> buttons;
  };
  const Row rows[] = {
      {false, false, AlertStyle::warning, checklist(missing, missing),
       {"1번 스크롤 설정 열기", "2번 손쉬운 사용 설정 열기", "나중에"}},
      {false, true, AlertStyle::warning, checklist(missing, done), {"1번 스크롤 설정 열기", "나중에"}},
      {true, false, AlertStyle::warning, checklist(done, missing), {"2번 손쉬운 사용 설정 열기", "나중에"}},
      {true, true, AlertStyle::informational, checklist(done, done), {"완료"}},
  };
  launch();
  const std::string titles[] = {testing::onboardingTitle, testing::disabledTitle, testing::permissionTitle};
  void (AppModel::*shows[])() = {&AppModel::showOnboardingAlert, &AppModel::showDisabledWarning,
                                 &AppModel::showPermissionWarning};
  for (const Row& row : rows) {
    for (int t = 0; t < 3; ++t) {
      SCOPED_TRACE(titles[t] + (row.natural ? " natural" : " no-natural") + (row.trusted ? " trusted" : ""));
      fake.system->naturalScroll = row.natural;
      fake.system->trusted = row.trusted;
      fake.alerts->shown.clear();
      fake.alerts->responses = {999};
      fake.take();
      ((*model).*shows[t])();
      ASSERT_EQ(fake.alerts->shown.size(), 1u);
      const AlertContent& alert = fake.alerts->shown[0];
      EXPECT_EQ(alert.style, row.style);
      EXPECT_EQ(alert.messageText, titles[t]);
      EXPECT_EQ(alert.informativeText, row.text);
      EXPECT_EQ(alert.iconSymbolName, "checklist");
      EXPECT_EQ(alert.iconAccessibilityDescription, "Wheelright 설정 체크리스트");
      EXPECT_EQ(alert.buttonTitles, row.buttons);
      // Key first, probes refreshed, the application brought forward, then the alert.
      EXPECT_EQ(fake.take(), (CallLog{"setBool hasShownNaturalScrollOnboarding=true",
                                      "copyPreference com.apple.swipescrolldirection", "isProcessTrusted",
                                      "activate", "runModal " + titles[t]}));
      EXPECT_EQ(model->isNaturalScrollEnabled(), row.natural);
      EXPECT_EQ(model->isAccessibilityGranted(), row.trusted);
    }
  }
}

TEST_F(ModelTest, ResponsesMapToTheButtonsActions) {
  const std::string trackpadPane = "openURL " + std::string(trackpadPaneAddress);
  const std::string accessibilityPane = "openURL " + std::string(accessibilityPaneAddress);
  const CallLog accessibilityAction = {"trustPrompt", accessibilityPane,
                                       "copyPreference com.apple.swipescrolldirection", "isProcessTrusted"};
  struct Row {
    const char* name;
    bool natural, trusted;
    long response;
    CallLog expected;  // what follows runModal
  };
  const Row rows[] = {
      {"both missing, first button", false, false, 1000, {trackpadPane}},
      {"both missing, second button", false, false, 1001, accessibilityAction},
      {"both missing, later", false, false, 1002, {}},
      {"both missing, past the last button", false, false, 1003, {}},
      {"both missing, below 1000", false, false, 999, {}},
      {"both missing, a cancel code", false, false, -1000, {}},
      {"trust missing: first button is the accessibility one", true, false, 1000, accessibilityAction},
      {"trust missing, later", true, false, 1001, {}},
      {"natural missing, first button", false, true, 1000, {trackpadPane}},
      {"natural missing, past the last", false, true, 1002, {}},
      {"both done, done", true, true, 1000, {}},
      {"both done, past the last", true, true, 1001, {}},
  };
  launch();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    fake.system->naturalScroll = row.natural;
    fake.system->trusted = row.trusted;
    fake.alerts->responses = {row.response};
    fake.take();
    model->showPermissionWarning();
    CallLog log = fake.take();
    const auto modal = std::find(log.begin(), log.end(), "runModal " + std::string(testing::permissionTitle));
    ASSERT_NE(modal, log.end());
    CallLog after(modal + 1, log.end());
    // The re-evaluation after the accessibility action may stop the tap; only the start matters.
    if (after.size() > row.expected.size()) after.resize(row.expected.size());
    EXPECT_EQ(after, row.expected);
    // The guard is cleared whatever the response.
    fake.alerts->responses = {999};
    fake.alerts->shown.clear();
    model->showOnboardingAlert();
    EXPECT_EQ(fake.alerts->shown.size(), 1u);
  }
}

TEST_F(ModelTest, ARefusedTrackpadPaneFallsBackOnceFromTheAlert) {
  fake.system->naturalScroll = false;
  fake.system->openAnswer = OpenURLResult::refused;
  launch();
  fake.alerts->responses = {1000};
  fake.take();
  runJobs();
  const CallLog log = fake.take();
  EXPECT_EQ(std::count(log.begin(), log.end(), "openApplication /System/Applications/System Settings.app"), 1);
  EXPECT_EQ(model->status(), Status::naturalScrollRequired()) << "no re-evaluation after the pane";
}

TEST_F(ModelTest, ARequestWhileAnAlertIsOpenIsDroppedButSetsTheKey) {
  fake.defaults->stored.clear();
  launch();
  bool nested = false;
  fake.alerts->duringModal = [&] {
    if (nested) return;
    nested = true;
    fake.defaults->stored.erase("hasShownNaturalScrollOnboarding");
    model->showDisabledWarning();
    EXPECT_EQ(fake.defaults->stored.at("hasShownNaturalScrollOnboarding"), true);
  };
  fake.alerts->responses = {999};
  runJobs();
  EXPECT_EQ(alertTitles(), std::vector<std::string>{testing::onboardingTitle});
  runJobs();
  EXPECT_EQ(alertTitles().size(), 1u) << "dropped, not queued";
}

TEST_F(ModelTest, TheAlertShowsTheProbesAsTheyAreWhenItOpens) {
  // The warning was posted while natural scrolling was off; by the time it shows, both are done.
  fake.system->trusted = true;
  launch();
  fake.system->naturalScroll = false;
  tick();
  ASSERT_EQ(fake.mainLoop->jobs.size(), 0u);
  ASSERT_EQ(alertTitles(), std::vector<std::string>{testing::disabledTitle});
  fake.alerts->shown.clear();

  fake.system->naturalScroll = true;
  tick();
  fake.system->naturalScroll = false;
  model->refreshStatus();  // posts the warning
  fake.system->naturalScroll = true;  // switched back before the alert shows
  runJobs();
  ASSERT_EQ(fake.alerts->shown.size(), 1u);
  EXPECT_EQ(fake.alerts->shown[0].style, AlertStyle::informational);
  EXPECT_EQ(fake.alerts->shown[0].buttonTitles, std::vector<std::string>{"완료"});
  EXPECT_TRUE(model->isNaturalScrollEnabled());
  EXPECT_EQ(model->status(), Status::naturalScrollRequired()) << "the alert does not re-evaluate";
}

TEST_F(ModelTest, TheAccessibilityButtonReevaluatesBeforeTheGuardIsCleared) {
  fake.defaults->stored.clear();
  launch();  // untrusted: checklist with the accessibility button first
  fake.alerts->duringModal = [&] { fake.system->trusted = true; };
  runJobs();
  EXPECT_EQ(model->status(), Status::active());
  EXPECT_TRUE(tapRunning());
}

}  // namespace
}  // namespace wheelright
