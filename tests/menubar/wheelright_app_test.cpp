#include "menubar/wheelright_app.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "menubar/menu_test_support.h"
#include "model/model_fixture.h"

namespace wheelright {
namespace {

using Status = AppModel::Status;
using testing::CallLog;
using testing::FakePlatform;

TEST(MenuBarLabel, SymbolForEachStatus) {
  EXPECT_EQ(statusSymbolName(Status::active()), "arrow.up.and.down.circle.fill");
  EXPECT_EQ(statusSymbolName(Status::paused()), "pause.circle");
  EXPECT_EQ(statusSymbolName(Status::naturalScrollRequired()), "exclamationmark.arrow.triangle.2.circlepath");
  EXPECT_EQ(statusSymbolName(Status::permissionRequired()), "exclamationmark.triangle");
  EXPECT_EQ(statusSymbolName(Status::error("one text")), "xmark.circle");
  EXPECT_EQ(statusSymbolName(Status::error("another text")), "xmark.circle");
  EXPECT_EQ(menuBarLabel(Status::paused()), (StatusLabel{"Wheelright", "pause.circle"}));
}

TEST(WheelrightApp, LaunchesOverTheStandardStoreAndShowsTheFirstStatus) {
  struct Row {
    const char* name;
    bool isEnabled, natural, trusted, tapFails;
    const char* symbol;
  };
  const Row rows[] = {
      {"switched off", false, true, true, false, "pause.circle"},
      {"natural off", true, false, true, false, "exclamationmark.arrow.triangle.2.circlepath"},
      {"trust missing", true, true, false, false, "exclamationmark.triangle"},
      {"tap fails", true, true, true, true, "xmark.circle"},
      {"ready", true, true, true, false, "arrow.up.and.down.circle.fill"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    FakePlatform fake;
    fake.defaults->stored = {{"isEnabled", row.isEnabled}};
    fake.system->naturalScroll = row.natural;
    fake.system->trusted = row.trusted;
    fake.eventTaps->failTapCreate = row.tapFails;
    auto app = WheelrightApp::create(fake.platform());
    EXPECT_EQ(fake.log.front(), "registerDefaults") << "settings first, over the platform's store";
    const auto shown = std::find(fake.log.begin(), fake.log.end(), "statusItem show");
    ASSERT_NE(shown, fake.log.end());
    EXPECT_EQ(std::find(fake.log.begin(), fake.log.end(), "scheduleTimer 1.500000") < shown, true)
        << "the item appears once the model has launched";
    EXPECT_TRUE(fake.alerts->shown.empty()) << "no alert before the item is shown";
    ASSERT_EQ(fake.statusItem->labels.size(), 1u);
    EXPECT_EQ(fake.statusItem->labels[0], (StatusLabel{"Wheelright", row.symbol}));
    EXPECT_EQ(&app->model().settings().defaults(), fake.defaults.get());
  }
}

TEST(WheelrightApp, RebuildsFromCurrentValuesAfterAnnouncements) {
  FakePlatform fake;
  fake.defaults->stored = {{"hasShownNaturalScrollOnboarding", true}};
  fake.system->trusted = true;
  auto app = WheelrightApp::create(fake.platform());
  fake.statusItem->labels.clear();

  fake.system->naturalScroll = false;
  fake.alerts->defaultResponse = 999;
  fake.mainLoop->fireTimers();
  fake.mainLoop->runJobs();
  // One evaluation announces three times; the item rebuilds once, after the values are stored.
  ASSERT_EQ(fake.statusItem->labels.size(), 2u) << "the evaluation, then the warning's probe refresh";
  EXPECT_EQ(fake.statusItem->labels[0].symbolName, "exclamationmark.arrow.triangle.2.circlepath");
  EXPECT_EQ(testing::describe(fake.statusItem->menuProvider())[0], "text 자연스러운 스크롤을 켜 주세요");

  // A settings switch changed from the menu rebuilds the menu too.
  fake.statusItem->labels.clear();
  testing::entryLabelled<MenuSwitch>(fake.statusItem->menuProvider(), "마우스 가로 스크롤 반전").setValue(true);
  fake.mainLoop->runJobs();
  EXPECT_EQ(fake.statusItem->labels.size(), 1u);
  EXPECT_TRUE(testing::entryLabelled<MenuSwitch>(fake.statusItem->menuProvider(), "마우스 가로 스크롤 반전").isOn);
}

TEST(WheelrightApp, TheContentHoldsTheModelsOwnSettings) {
  FakePlatform fake;
  auto app = WheelrightApp::create(fake.platform());
  EXPECT_EQ(app->content().settings().lock(), app->model().sharedSettings());
  testing::entryLabelled<MenuSwitch>(app->menu(), "마우스 세로 스크롤 반전").setValue(false);
  // The model's provider sees the change without any copying.
  EXPECT_FALSE(app->model().settings().configuration().reverseVertical);
  EXPECT_EQ(app->model().sharedSettings().use_count(), 1) << "only the model owns the settings";
}

TEST(WheelrightApp, EndingTheApplicationRemovesTheItemAndDropsPendingWork) {
  FakePlatform fake;
  fake.system->trusted = true;
  fake.defaults->stored.clear();
  auto app = WheelrightApp::create(fake.platform());
  std::weak_ptr<AppModel> model = app->sharedModel();
  app->model().settings().setReverseHorizontal(true);  // schedules a rebuild
  ASSERT_FALSE(fake.mainLoop->jobs.empty());
  app.reset();
  EXPECT_TRUE(model.expired());
  EXPECT_EQ(std::count(fake.log.begin(), fake.log.end(), "statusItem remove"), 1);
  EXPECT_EQ(fake.log.back(), "release port") << "the tap goes with the model";
  fake.take();
  fake.mainLoop->tick();
  EXPECT_TRUE(fake.alerts->shown.empty());
  EXPECT_TRUE(fake.take().empty()) << "the timer was invalidated and the jobs found nothing";
}

}  // namespace
}  // namespace wheelright
