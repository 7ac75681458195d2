#include <gtest/gtest.h>

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

// The transcripts show the checklist for each combination; here, that every title sets the key
// first, reads the probes afresh and brings the application forward before the alert.
TEST_F(DesktopTest, EachAlertSetsTheKeyAndRefreshesTheProbesFirst) {
  const std::pair<const char*, void (AppModel::*)()> uses[] = {
      {onboardingTitle, &AppModel::showOnboardingAlert},
      {disabledTitle, &AppModel::showDisabledWarning},
      {permissionTitle, &AppModel::showPermissionWarning}};
  launch();
  system().setNaturalScrollPreference(false);
  system().setTrusted(true);
  for (const auto& [title, show] : uses) {
    take();
    ((*model).*show)();
    EXPECT_EQ(take(), (Lines{"setBool hasShownNaturalScrollOnboarding=true",
                             "copyPreferenceValue com.apple.swipescrolldirection", "isProcessTrusted",
                             "activateIgnoringOtherApps", std::string("runModal ") + title}));
    EXPECT_EQ(desktop->alerts().alerts().back(),
              (AlertContent{AlertStyle::warning, title, checklist(missing, done), "checklist",
                            "Wheelright 설정 체크리스트", {"1번 스크롤 설정 열기", "나중에"}}));
    EXPECT_FALSE(model->isNaturalScrollEnabled());
    EXPECT_TRUE(model->isAccessibilityGranted());
  }
}

TEST_F(DesktopTest, ResponsesMapToTheButtonsActions) {
  const Lines accessibility = {"isProcessTrustedWithOptions prompt=true",
                               "openURL " + std::string(accessibilityPaneAddress),
                               "copyPreferenceValue com.apple.swipescrolldirection"};
  // The transcripts press the other buttons and answer far outside them. Natural scrolling,
  // trusted, the response: the calls that follow the alert.
  const std::tuple<bool, bool, long, Lines> rows[] = {
      {false, false, 1001, accessibility}, {false, false, 1003, {}}, {false, false, -1000, {}},
      {false, true, 1002, {}}, {true, true, 1001, {}},
  };
  launch();
  for (const auto& [natural, trusted, response, expected] : rows) {
    SCOPED_TRACE(::testing::Message() << natural << trusted << " " << response);
    system().setNaturalScrollPreference(natural);
    system().setTrusted(trusted);
    answerAlerts(response);
    take();
    model->showPermissionWarning();
    const Lines calls = take();
    const auto modal = std::find(calls.begin(), calls.end(), std::string("runModal ") + permissionTitle);
    ASSERT_NE(modal, calls.end());
    Lines after(modal + 1, calls.end());
    after.resize(std::min(after.size(), expected.size()));  // the re-evaluation goes on
    EXPECT_EQ(after, expected);
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
