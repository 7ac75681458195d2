#include "menubar/wheelright_app.h"

#include <gtest/gtest.h>

#include "support/desktop_test.h"

namespace wheelright {
namespace {

using namespace testing;

// A first start on a Mac that is ready: the tap runs at once, and the checklist still comes,
// once, informational, with both items done and the single button.
TEST_F(DesktopTest, AFirstStartWithEverythingReadyShowsTheCompletedChecklist) {
  system().setTrusted(true);
  answerAlerts(1000);
  auto app = WheelrightApp::create(desktop->platform());
  desktop->runPending();
  EXPECT_EQ(app->model().status(), Status::active());
  EXPECT_TRUE(tapRunning());
  ASSERT_EQ(desktop->alerts().alerts().size(), 1u);
  const AlertContent& checklist = desktop->alerts().alerts()[0];
  EXPECT_EQ(checklist.style, AlertStyle::informational);
  EXPECT_EQ(checklist.messageText, onboardingTitle);
  EXPECT_NE(checklist.informativeText.find("1. 자연스러운 스크롤 켜기  ✅ 완료\n2. 손쉬운 사용 권한 허용  ✅ 완료"),
            std::string::npos);
  EXPECT_EQ(checklist.buttonTitles, Lines{"완료"});
  EXPECT_EQ(desktop->output(), Lines{"icon: arrow.up.and.down.circle.fill"})
      << "the icon before the alert, and pressing its button shows nothing more";
  EXPECT_TRUE(desktop->userDefaultsStore().boolForKey("hasShownNaturalScrollOnboarding"));
}

TEST_F(DesktopTest, TheItemRebuildsOncePerTurnFromTheModelsOwnSettings) {
  system().setTrusted(true);
  stored("hasShownNaturalScrollOnboarding", true);
  auto app = WheelrightApp::create(desktop->platform());
  EXPECT_EQ(app->content().settings().lock(), app->model().sharedSettings());
  take();
  poll();  // three announcements
  EXPECT_EQ(std::count(desktop->calls().begin(), desktop->calls().end(), "statusItemSetNeedsUpdate"), 1);

  entryLabelled<MenuSwitch>(desktop->statusItem().menu(), "마우스 세로 스크롤 반전").setValue(false);
  EXPECT_FALSE(app->model().settings().configuration().reverseVertical) << "no copy in between";
  EXPECT_EQ(app->model().sharedSettings().use_count(), 1) << "only the model owns the settings";
}

TEST_F(DesktopTest, EndingTheApplicationLeavesNothingBehind) {
  system().setTrusted(true);
  auto app = WheelrightApp::create(desktop->platform());  // a first start: the checklist is posted
  app->model().setEnabled(true);                          // and the item's rebuild
  ASSERT_TRUE(tapRunning());
  ASSERT_EQ(desktop->runLoop().pendingJobCount(), 2u) << "the checklist and the item's rebuild";
  const std::weak_ptr<AppModel> watch = app->sharedModel();
  app.reset();
  EXPECT_TRUE(watch.expired()) << "no deferred work keeps the model alive";
  EXPECT_FALSE(desktop->statusItem().isShown());
  EXPECT_EQ(taps().liveHandleCount(), 0u) << "the tap goes with the model";
  EXPECT_EQ(desktop->runLoop().validTimerCount(), 0u);
  take();
  desktop->advance(5);
  EXPECT_TRUE(alertTitles().empty());
  EXPECT_TRUE(take().empty()) << "the timer was invalidated and the jobs found the model gone";
}

}  // namespace
}  // namespace wheelright
