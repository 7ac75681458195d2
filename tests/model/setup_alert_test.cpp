#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>

#include "model/system_probes.h"
#include "support/desktop_test.h"

namespace wheelright {
namespace {

using namespace testing;

std::string checklist(const char* first, const char* second) {
  return std::string("Wheelright이 동작하려면 아래 두 항목이 모두 필요합니다.\n\n1. 자연스러운 스크롤 켜기  ") +
         first + "\n2. 손쉬운 사용 권한 허용  " + second +
         "\n\n두 항목을 완료하면 Wheelright이 자동으로 시작됩니다.";
}
constexpr const char* done = "✅ 완료";
constexpr const char* missing = "⚠️ 설정 필요";

TEST_F(DesktopTest, ChecklistContentForEachCombinationAndTitle) {
  struct Row {
    bool natural, trusted;
    AlertStyle style;
    std::string text;
    Lines buttons;
  };
  const Row rows[] = {
      {false, false, AlertStyle::warning, checklist(missing, missing),
       {"1번 스크롤 설정 열기", "2번 손쉬운 사용 설정 열기", "나중에"}},
      {false, true, AlertStyle::warning, checklist(missing, done), {"1번 스크롤 설정 열기", "나중에"}},
      {true, false, AlertStyle::warning, checklist(done, missing), {"2번 손쉬운 사용 설정 열기", "나중에"}},
      {true, true, AlertStyle::informational, checklist(done, done), {"완료"}},
  };
  const std::pair<const char*, void (AppModel::*)()> uses[] = {
      {onboardingTitle, &AppModel::showOnboardingAlert},
      {disabledTitle, &AppModel::showDisabledWarning},
      {permissionTitle, &AppModel::showPermissionWarning}};
  launch();
  for (const Row& row : rows) {
    for (const auto& [title, show] : uses) {
      SCOPED_TRACE(::testing::Message() << title << " natural=" << row.natural << " trusted=" << row.trusted);
      system().setNaturalScrollPreference(row.natural);
      system().setTrusted(row.trusted);
      take();
      ((*model).*show)();
      // The key first, the probes refreshed, the application brought forward, then the alert.
      EXPECT_EQ(take(), (Lines{"setBool hasShownNaturalScrollOnboarding=true",
                               "copyPreferenceValue com.apple.swipescrolldirection", "isProcessTrusted",
                               "activateIgnoringOtherApps", std::string("runModal ") + title}));
      EXPECT_EQ(desktop->alerts().alerts().back(),
                (AlertContent{row.style, title, row.text, "checklist", "Wheelright 설정 체크리스트",
                              row.buttons}));
      EXPECT_EQ(model->isNaturalScrollEnabled(), row.natural);
      EXPECT_EQ(model->isAccessibilityGranted(), row.trusted);
    }
  }
}

TEST_F(DesktopTest, ResponsesMapToTheButtonsActions) {
  const std::string trackpadPane = "openURL " + std::string(trackpadPaneAddress);
  const Lines accessibility = {"isProcessTrustedWithOptions prompt=true",
                               "openURL " + std::string(accessibilityPaneAddress),
                               "copyPreferenceValue com.apple.swipescrolldirection"};
  // Any 64-bit response maps without overflow; outside the buttons, nothing happens.
  const long lowest = std::numeric_limits<long>::min(), highest = std::numeric_limits<long>::max();
  struct Row {
    bool natural, trusted;
    long response;
    Lines after;  // the calls that follow the alert
  };
  const Row rows[] = {
      {false, false, 1000, {trackpadPane}}, {false, false, 1001, accessibility},
      {false, false, 1002, {}},             {false, false, 1003, {}},
      {false, false, 999, {}},              {false, false, -1000, {}},
      {true, false, 1000, accessibility},   {true, false, 1001, {}},
      {false, true, 1000, {trackpadPane}},  {false, true, 1002, {}},
      {true, true, 1000, {}},               {true, true, 1001, {}},
      {false, false, lowest, {}},           {true, false, lowest + 999, {}},
      {false, false, highest, {}},          {true, true, highest, {}},
  };
  launch();
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.natural << row.trusted << " " << row.response);
    system().setNaturalScrollPreference(row.natural);
    system().setTrusted(row.trusted);
    answerAlerts(row.response);
    take();
    model->showPermissionWarning();
    const Lines calls = take();
    const auto modal = std::find(calls.begin(), calls.end(), std::string("runModal ") + permissionTitle);
    ASSERT_NE(modal, calls.end());
    Lines after(modal + 1, calls.end());
    after.resize(std::min(after.size(), row.after.size()));  // the re-evaluation goes on
    EXPECT_EQ(after, row.after);
    model->showOnboardingAlert();  // the guard is cleared, whatever the response
    EXPECT_EQ(alertTitles().back(), onboardingTitle);
  }
}

TEST_F(DesktopTest, ARequestWhileAnAlertIsOpenIsDroppedButSetsTheKey) {
  launch(true);
  bool isNested = false;
  answerAlerts(999, [&] {
    if (std::exchange(isNested, true)) return;
    desktop->userDefaultsStore().setBool(false, "hasShownNaturalScrollOnboarding");
    model->showDisabledWarning();
    EXPECT_TRUE(desktop->userDefaultsStore().boolForKey("hasShownNaturalScrollOnboarding"));
  });
  desktop->runPending();
  desktop->advance(3);
  EXPECT_EQ(alertTitles(), Lines{onboardingTitle}) << "dropped, not queued";
}

TEST_F(DesktopTest, TheAlertShowsTheProbesAsTheyAreWhenItOpens) {
  system().setTrusted(true);
  launch();
  system().setNaturalScrollPreference(false);
  model->refreshStatus();  // posts the warning, never shows it inside the evaluation...
  EXPECT_TRUE(alertTitles().empty());
  EXPECT_EQ(model->status(), Status::naturalScrollRequired()) << "published before any alert";
  system().setNaturalScrollPreference(true);  // ...and natural scrolling is back before it shows
  desktop->runPending();
  ASSERT_EQ(alertTitles(), Lines{disabledTitle});
  EXPECT_EQ(desktop->alerts().alerts()[0].style, AlertStyle::informational);
  EXPECT_EQ(desktop->alerts().alerts()[0].buttonTitles, Lines{"완료"});
  EXPECT_EQ(model->status(), Status::naturalScrollRequired()) << "the alert does not re-evaluate";
}

// However an alert's job ends, the guard is cleared: one failure does not silence later alerts.
TEST_F(DesktopTest, AnExceptionInsideAnAlertsJobDoesNotStopTheNextAlert) {
  launch(true);
  desktop->alerts().setHandler([](const AlertContent&) -> long { throw std::runtime_error("lost"); });
  EXPECT_THROW(desktop->runPending(), std::runtime_error);
  answerAlerts(1000);
  model->showPermissionWarning();
  EXPECT_EQ(alertTitles(), (Lines{onboardingTitle, permissionTitle}));
}

}  // namespace
}  // namespace wheelright
