#include <gtest/gtest.h>

#include <algorithm>

#include "model/system_probes.h"
#include "support/desktop_test.h"

namespace wheelright {
namespace {

using namespace testing;

// The transcripts show each title with the probes as the evaluation saw them; here, an alert
// posted by an evaluation that opens after the probes changed again.
TEST_F(DesktopTest, AnAlertOpensAfterItsEvaluationPublishedAndShowsTheProbesAsTheyAreThen) {
  system().setTrusted(true);
  launch();
  stored("hasShownNaturalScrollOnboarding", false);
  system().setNaturalScrollPreference(false);
  model->refreshStatus();
  // Order is the contract: the status an alert explains is published before the alert opens.
  EXPECT_TRUE(alertTitles().empty());
  EXPECT_EQ(model->status(), Status::naturalScrollRequired());
  system().setNaturalScrollPreference(true);
  take();
  desktop->runPending();
  ASSERT_EQ(alertTitles(), Lines{disabledTitle});
  const AlertContent& alert = desktop->alerts().alerts().back();
  EXPECT_EQ(alert.style, AlertStyle::informational) << "both items done, as they are now";
  EXPECT_EQ(alert.buttonTitles, Lines{"완료"});
  EXPECT_TRUE(desktop->userDefaultsStore().boolForKey("hasShownNaturalScrollOnboarding"));
  EXPECT_EQ(model->status(), Status::naturalScrollRequired()) << "the alert does not re-evaluate";
  // Order is the contract: an alert opened before the activation may sit behind a window.
  const Lines calls = take();
  EXPECT_LT(std::ranges::find(calls, "activateIgnoringOtherApps"),
            std::ranges::find(calls, std::string("runModal ") + disabledTitle));
}

// What each response leads to, as the person sees it. The transcripts press the other buttons
// and answer far outside them.
TEST_F(DesktopTest, ResponsesMapToTheButtonsActions) {
  const Lines trackpad = {"system: opened " + std::string(trackpadPaneAddress)};
  const Lines accessibility = {"system: accessibility prompt",
                               "system: opened " + std::string(accessibilityPaneAddress)};
  // Natural scrolling, trusted, the response: what the system shows after the alert.
  const std::tuple<bool, bool, long, Lines> rows[] = {
      {false, false, 1000, trackpad}, {false, false, 1001, accessibility},
      {false, false, 1002, {}},       {false, false, 1003, {}},
      {false, true, 1000, trackpad},  {false, true, 1001, {}},
      {true, false, 1000, accessibility}, {true, true, 1000, {}},
  };
  launch();
  for (const auto& [natural, trusted, response, expected] : rows) {
    SCOPED_TRACE(::testing::Message() << natural << trusted << " " << response);
    system().setNaturalScrollPreference(natural);
    system().setTrusted(trusted);
    answerAlerts(response);
    const std::size_t before = desktop->output().size();
    model->showPermissionWarning();
    EXPECT_EQ(outputAfter(before), expected);
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

}  // namespace
}  // namespace wheelright
