#include "menubar/wheelright_app.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/desktop_test.h"

namespace wheelright {
namespace {

using namespace testing;

// A poll that finds nothing changed costs the menu-bar item nothing, not even an update (the
// transcripts show that a label is set only when it changes). Changes within one turn update it
// once; the menu writes to the model's own settings.
TEST_F(DesktopTest, AnIdlePollLeavesTheItemAloneAndChangesUpdateItOncePerTurn) {
  system().setTrusted(true);
  stored("hasShownNaturalScrollOnboarding", true);
  auto app = WheelrightApp::create(desktop->platform());
  desktop->runPending();
  const sim::SimStatusItem& item = desktop->statusItem();
  const auto updates = [this] {
    const Lines calls = take();
    return std::count(calls.begin(), calls.end(), "statusItemSetNeedsUpdate");
  };
  take();
  poll();
  poll();
  EXPECT_EQ(updates(), 0);

  desktop->runLoop().postToMainQueue([&] {
    entryLabelled<MenuSwitch>(item.menu(), "마우스 세로 스크롤 반전").setValue(false);
    entryLabelled<MenuSwitch>(item.menu(), "마우스 가로 스크롤 반전").setValue(true);
  });
  desktop->runPending();
  EXPECT_EQ(updates(), 1);
  EXPECT_EQ(app->model().settings().configuration(), (ScrollConfiguration{false, true, false}));

  system().setTrusted(false);
  poll();
  EXPECT_EQ(desktop->output(), Lines{"icon: exclamationmark.triangle"});
  EXPECT_EQ(updates(), 1);
}

TEST_F(DesktopTest, EndingTheApplicationLeavesNothingBehind) {
  system().setTrusted(true);
  auto app = WheelrightApp::create(desktop->platform());  // a first start: the checklist is posted
  app->model().setEnabled(true);                          // and the item's rebuild
  ASSERT_TRUE(reversesTheWheel());
  ASSERT_EQ(desktop->runLoop().pendingJobCount(), 2u) << "the checklist and the item's rebuild";
  const std::weak_ptr<AppModel> watch = app->sharedModel();
  app.reset();
  EXPECT_TRUE(watch.expired()) << "no deferred work keeps the model alive";
  EXPECT_FALSE(desktop->statusItem().isShown());
  EXPECT_FALSE(reversesTheWheel()) << "the tap goes with the model";
  EXPECT_EQ(desktop->runLoop().validTimerCount(), 0u);
  take();
  desktop->advance(5);
  EXPECT_TRUE(alertTitles().empty());
  EXPECT_TRUE(take().empty()) << "the timer was invalidated and the jobs found the model gone";
}

// Someone may hold the model beyond the application: it must not call back into the application.
TEST_F(DesktopTest, AModelHeldBeyondTheApplicationNoLongerTellsIt) {
  system().setTrusted(true);
  auto app = WheelrightApp::create(desktop->platform());
  const std::shared_ptr<AppModel> held = app->sharedModel();
  app.reset();
  EXPECT_EQ(held->objectWillChange.observerCount(), 0u);
  EXPECT_EQ(held->settings().objectWillChange.observerCount(), 0u);
  held->setEnabled(false);  // under the sanitizers, a call into the gone application is a fault
  desktop->runPending();
}

}  // namespace
}  // namespace wheelright
