#include "model/app_model.h"

#include <gtest/gtest.h>

#include "model/model_fixture.h"
#include "model/system_probes.h"

namespace wheelright {
namespace {

using Status = AppModel::Status;
using testing::CallLog;
using testing::ModelTest;

TEST_F(ModelTest, ConstructionOrder) {
  fake.system->trusted = true;
  launch();
  const CallLog& log = fake.log;
  auto position = [&log](const std::string& line) {
    return std::find(log.begin(), log.end(), line) - log.begin();
  };
  // Probes first (natural, then trust), then the login item, the first evaluation, the
  // onboarding decision and finally the timer.
  EXPECT_LT(position("copyPreference com.apple.swipescrolldirection"), position("isProcessTrusted"));
  EXPECT_LT(position("isProcessTrusted"), position("loginStatus"));
  EXPECT_LT(position("loginStatus"), position("tapCreate"));
  EXPECT_LT(position("tapCreate"), position("boolForKey hasShownNaturalScrollOnboarding"));
  EXPECT_EQ(log.back(), "scheduleTimer 1.500000");
  EXPECT_EQ(fake.mainLoop->timers.size(), 1u);
  EXPECT_TRUE(model->hasPollingTimer());
  EXPECT_EQ(model->status(), Status::active());
}

TEST_F(ModelTest, StatusTable) {
  struct Row {
    const char* name;
    bool isEnabled, natural, trusted, tapFails;
    Status expected;
  };
  const Row rows[] = {
      {"switched off", false, true, true, false, Status::paused()},
      {"switched off beats everything", false, false, false, true, Status::paused()},
      {"natural scrolling off", true, false, true, false, Status::naturalScrollRequired()},
      {"natural off beats missing trust", true, false, false, true, Status::naturalScrollRequired()},
      {"trust missing", true, true, false, false, Status::permissionRequired()},
      {"trust missing beats a failing tap", true, true, false, true, Status::permissionRequired()},
      {"everything ready", true, true, true, false, Status::active()},
      {"tap cannot start", true, true, true, true, Status::error(testing::tapErrorText)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    testing::FakePlatform platform;
    platform.defaults->stored = {{"isEnabled", row.isEnabled}, {"hasShownNaturalScrollOnboarding", true}};
    platform.system->naturalScroll = row.natural;
    platform.system->trusted = row.trusted;
    platform.eventTaps->failTapCreate = row.tapFails;
    auto rowSettings = std::make_shared<AppSettings>(platform.defaults);
    auto rowModel = AppModel::create(rowSettings, platform.platform());
    EXPECT_EQ(rowModel->status(), row.expected);
    EXPECT_EQ(platform.eventTaps->hasRunningTap(), row.expected == Status::active());
    EXPECT_EQ(rowModel->isNaturalScrollEnabled(), row.natural);
    EXPECT_EQ(rowModel->isAccessibilityGranted(), row.trusted);

    // The same rows reached by a later evaluation from a running tap.
    testing::FakePlatform later;
    later.defaults->stored = {{"hasShownNaturalScrollOnboarding", true}};
    later.system->trusted = true;
    auto laterSettings = std::make_shared<AppSettings>(later.defaults);
    auto laterModel = AppModel::create(laterSettings, later.platform());
    ASSERT_EQ(laterModel->status(), Status::active());
    laterSettings->setIsEnabled(row.isEnabled);
    later.system->naturalScroll = row.natural;
    later.system->trusted = row.trusted;
    later.eventTaps->failTapCreate = row.tapFails;
    if (row.tapFails) later.eventTaps->disable(reinterpret_cast<MachPortRef>(later.eventTaps->ports().back().get()));
    laterModel->refreshStatus();
    EXPECT_EQ(laterModel->status(), row.expected);
    EXPECT_EQ(laterModel->eventTap().isRunning(), row.expected == Status::active());
  }
}

TEST_F(ModelTest, StatusEquality) {
  EXPECT_EQ(Status::error("a"), Status::error("a"));
  EXPECT_NE(Status::error("a"), Status::error("b"));
  EXPECT_NE(Status::error(""), Status::paused());
  EXPECT_NE(Status::active(), Status::paused());
}

TEST_F(ModelTest, EveryEvaluationAnnouncesProbesAndStatus) {
  fake.system->trusted = true;
  launch();
  int announcements = 0;
  model->objectWillChange.subscribe([&] { ++announcements; });
  model->refreshStatus();
  EXPECT_EQ(announcements, 3) << "natural, trust and status, changed or not";
  settings->setIsEnabled(false);
  announcements = 0;
  model->refreshStatus();
  EXPECT_EQ(announcements, 3) << "also while switched off";
}

TEST_F(ModelTest, OnboardingDecision) {
  struct Row {
    const char* name;
    bool shown, isEnabled, natural, trusted;
    bool expectPosted;
  };
  const Row rows[] = {
      {"first start, everything ready", false, true, true, true, true},
      {"first start, switched off", false, false, false, false, true},
      {"shown before, everything ready", true, true, true, true, false},
      {"shown before, switched off, natural off", true, false, false, true, false},
      {"shown before, switched off, trust missing", true, false, true, false, false},
      {"shown before, on, trust missing", true, true, true, false, true},
      {"shown before, on, natural off", true, true, false, true, true},
      {"shown before, on, both missing", true, true, false, false, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    testing::FakePlatform platform;
    platform.defaults->stored = {{"isEnabled", row.isEnabled},
                                 {"hasShownNaturalScrollOnboarding", row.shown}};
    platform.system->naturalScroll = row.natural;
    platform.system->trusted = row.trusted;
    auto rowModel = AppModel::create(std::make_shared<AppSettings>(platform.defaults), platform.platform());
    EXPECT_TRUE(platform.alerts->shown.empty()) << "never shown inside construction";
    EXPECT_EQ(platform.mainLoop->jobs.size(), row.expectPosted ? 1u : 0u);
    platform.mainLoop->runJobs();
    if (row.expectPosted) {
      ASSERT_EQ(platform.alerts->shown.size(), 1u);
      EXPECT_EQ(platform.alerts->shown[0].messageText, testing::onboardingTitle);
    } else {
      EXPECT_TRUE(platform.alerts->shown.empty());
    }
  }
}

TEST_F(ModelTest, ChecklistSuppressesTheWarningForWhatItListed) {
  // Started on, natural scrolling on, trust missing: the checklist comes, the permission warning
  // does not, not even after natural scrolling has gone off and on again...
  fake.alerts->defaultResponse = 999;
  launch();
  runJobs();
  EXPECT_EQ(alertTitles(), std::vector<std::string>{testing::onboardingTitle});
  for (int i = 0; i < 3; ++i) tick();
  EXPECT_EQ(alertTitles().size(), 1u);
  fake.system->naturalScroll = false;
  tick();
  fake.system->naturalScroll = true;
  tick();
  EXPECT_EQ(model->status(), Status::permissionRequired());
  EXPECT_EQ(alertTitles(), (std::vector<std::string>{testing::onboardingTitle, testing::disabledTitle}));
  // ...until trust has been seen granted once.
  fake.system->trusted = true;
  tick();
  EXPECT_EQ(model->status(), Status::active());
  fake.system->trusted = false;
  tick();
  EXPECT_EQ(alertTitles(), (std::vector<std::string>{testing::onboardingTitle, testing::disabledTitle,
                                                     testing::permissionTitle}));
}

TEST_F(ModelTest, WarningFlagsAcrossSequences) {
  struct Step {
    const char* what;
    bool natural, trusted, isEnabled;
    Status status;
    const char* warning;  // the alert that this step brings, if any
  };
  const Step steps[] = {
      {"start active", true, true, true, Status::active(), nullptr},
      {"natural off", false, true, true, Status::naturalScrollRequired(), testing::disabledTitle},
      {"still off", false, true, true, Status::naturalScrollRequired(), nullptr},
      {"on again", true, true, true, Status::active(), nullptr},
      {"off again: warned again", false, true, true, Status::naturalScrollRequired(), testing::disabledTitle},
      {"on", true, true, true, Status::active(), nullptr},
      {"trust revoked", true, false, true, Status::permissionRequired(), testing::permissionTitle},
      {"still missing", true, false, true, Status::permissionRequired(), nullptr},
      {"natural off while trust missing", false, false, true, Status::naturalScrollRequired(),
       testing::disabledTitle},
      {"natural on, trust still missing: already warned since trust was last seen", true, false, true,
       Status::permissionRequired(), nullptr},
      {"granted", true, true, true, Status::active(), nullptr},
      {"switched off", true, true, false, Status::paused(), nullptr},
      {"natural off while switched off", false, true, false, Status::paused(), nullptr},
      {"trust lost while switched off", false, false, false, Status::paused(), nullptr},
      {"switched on: natural seen off before, no warning", false, false, true,
       Status::naturalScrollRequired(), nullptr},
      {"natural on with trust missing", true, false, true, Status::permissionRequired(),
       testing::permissionTitle},
  };
  fake.system->trusted = true;
  fake.alerts->defaultResponse = 999;  // closed without a button: no action
  launch();
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    fake.system->naturalScroll = step.natural;
    fake.system->trusted = step.trusted;
    fake.alerts->shown.clear();
    if (settings->isEnabled() != step.isEnabled) {
      model->setEnabled(step.isEnabled);
      runJobs();
    } else {
      tick();
    }
    EXPECT_EQ(model->status(), step.status);
    EXPECT_EQ(tapRunning(), step.status == Status::active());
    if (step.warning) {
      EXPECT_EQ(alertTitles(), std::vector<std::string>{step.warning});
    } else {
      EXPECT_TRUE(alertTitles().empty()) << alertTitles().front();
    }
  }
}

TEST_F(ModelTest, WarningsArePostedAfterTheEvaluationNotInsideIt) {
  fake.system->trusted = true;
  launch();
  fake.system->naturalScroll = false;
  model->refreshStatus();
  EXPECT_TRUE(fake.alerts->shown.empty());
  EXPECT_EQ(fake.mainLoop->jobs.size(), 1u);
  EXPECT_EQ(model->status(), Status::naturalScrollRequired()) << "published before any alert";
  runJobs();
  EXPECT_EQ(alertTitles(), std::vector<std::string>{testing::disabledTitle});
}

TEST_F(ModelTest, SetEnabledTakesEffectBeforeItReturns) {
  fake.system->trusted = true;
  launch();
  model->setEnabled(false);
  EXPECT_EQ(model->status(), Status::paused());
  EXPECT_FALSE(tapRunning());
  EXPECT_EQ(fake.defaults->stored.at("isEnabled"), false);
  model->setEnabled(true);
  EXPECT_EQ(model->status(), Status::active());
  EXPECT_TRUE(tapRunning());
  EXPECT_EQ(fake.defaults->stored.at("isEnabled"), true);
}

TEST_F(ModelTest, RequestAccessibilityPermission) {
  struct Row {
    const char* name;
    bool trusted;
    Status expected;
  };
  const Row rows[] = {{"untrusted", false, Status::permissionRequired()},
                      {"already trusted: the pane still opens", true, Status::active()}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    fake.system->trusted = row.trusted;
    launch();
    fake.take();
    model->requestAccessibilityPermission();
    const CallLog log = fake.take();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[0], "trustPrompt");
    EXPECT_EQ(log[1], "openURL " + std::string(accessibilityPaneAddress));
    EXPECT_EQ(log[2], "copyPreference com.apple.swipescrolldirection") << "then re-evaluates";
    EXPECT_EQ(model->status(), row.expected);
  }
}

TEST_F(ModelTest, AFailingTapIsTriedOncePerEvaluation) {
  fake.system->trusted = true;
  fake.eventTaps->failTapCreate = true;
  launch();
  EXPECT_EQ(model->status(), Status::error(testing::tapErrorText));
  EXPECT_EQ(tapCreations(), 1);
  for (int i = 2; i <= 4; ++i) {
    tick();
    EXPECT_EQ(model->status(), Status::error(testing::tapErrorText));
    EXPECT_EQ(tapCreations(), i);
  }
  EXPECT_TRUE(fake.alerts->shown.empty()) << "a failing tap brings no alert";
  fake.eventTaps->failTapCreate = false;
  tick();
  EXPECT_EQ(model->status(), Status::active());
  tick();
  EXPECT_EQ(tapCreations(), 5) << "a running tap is not created again";

  // A failing run-loop source gives the same error.
  fake.eventTaps->disable(reinterpret_cast<MachPortRef>(fake.eventTaps->ports().back().get()));
  fake.eventTaps->failSourceCreate = true;
  tick();
  EXPECT_EQ(model->status(), Status::error(testing::tapErrorText));
}

TEST_F(ModelTest, TheModelsTapAndItsProvider) {
  fake.system->trusted = true;
  launch();
  ScrollEventTap& tap = model->eventTap();
  EXPECT_EQ(&tap, &model->eventTap()) << "one tap for the model's life";

  testing::FakeEvent event;
  event.integers[11] = 4;
  event.integers[12] = 4;
  auto deliver = [&] { fake.eventTaps->deliver(22, reinterpret_cast<EventRef>(&event)); };
  deliver();
  EXPECT_EQ(event.integers[11], -4);
  EXPECT_EQ(event.integers[12], 4);
  settings->setReverseHorizontal(true);
  settings->setReverseVertical(false);
  deliver();
  EXPECT_EQ(event.integers[11], -4);
  EXPECT_EQ(event.integers[12], -4);
}

TEST_F(ModelTest, ADestroyedModelLeavesNothingBehind) {
  fake.system->trusted = true;
  fake.system->naturalScroll = false;
  fake.defaults->stored.clear();  // first start: the checklist is posted
  launch();
  settings->setReverseVertical(false);
  settings->setReverseHorizontal(true);
  settings->setTreatContinuousWithoutPhaseAsMouse(true);
  fake.system->naturalScroll = true;
  model->refreshStatus();
  ASSERT_EQ(model->status(), Status::active());
  fake.system->naturalScroll = false;
  model->refreshStatus();  // posts the natural-scrolling warning
  ASSERT_EQ(fake.mainLoop->jobs.size(), 2u);

  // The provider outlives the model inside a tap that someone else still holds.
  auto& port = *fake.eventTaps->ports().back();
  std::weak_ptr<AppModel> watch = model;
  std::weak_ptr<AppSettings> watchSettings = settings;
  auto timer = fake.mainLoop->timers.front();
  const auto firingUnderWay = timer->action;  // as if the timer fired just before the end
  settings.reset();
  model.reset();
  EXPECT_TRUE(watch.expired()) << "no deferred work keeps the model alive";
  EXPECT_TRUE(watchSettings.expired());
  EXPECT_FALSE(timer->valid) << "the timer is invalidated";
  EXPECT_TRUE(port.invalidated) << "the tap is torn down with the model";
  fake.take();
  firingUnderWay();
  runJobs();
  EXPECT_TRUE(fake.alerts->shown.empty());
  EXPECT_EQ(fake.take(), CallLog{"task"}) << "the jobs found the model gone and did nothing";
}

TEST(ModelProvider, FallsBackToTheDefaultConfigurationOnceTheModelIsGone) {
  testing::FakePlatform fake;
  fake.system->trusted = true;
  fake.defaults->stored = {{"reverseVertical", false}, {"reverseHorizontal", true},
                           {"treatContinuousWithoutPhaseAsMouse", true},
                           {"hasShownNaturalScrollOnboarding", true}};
  auto model = AppModel::create(std::make_shared<AppSettings>(fake.defaults), fake.platform());
  // Keep the tap alive beyond the model by holding a strong reference through the callback path.
  auto& port = *fake.eventTaps->ports().back();
  auto* tapObject = static_cast<ScrollEventTap*>(port.userInfo);
  std::shared_ptr<ScrollEventTap> keep = tapObject->shared_from_this();
  model.reset();

  testing::FakeEvent event;
  event.integers[11] = 2;
  event.integers[12] = 2;
  event.integers[88] = 1;  // continuous without phases: a wheel only under the live settings
  keep->handleTapEvent(22, reinterpret_cast<EventRef>(&event));
  EXPECT_EQ(event.integers[11], 2) << "fallback: continuous events are not treated as a wheel";
  event.integers[88] = 0;
  keep->handleTapEvent(22, reinterpret_cast<EventRef>(&event));
  EXPECT_EQ(event.integers[11], -2) << "fallback reverses vertically";
  EXPECT_EQ(event.integers[12], 2) << "and not horizontally";
}

}  // namespace
}  // namespace wheelright
