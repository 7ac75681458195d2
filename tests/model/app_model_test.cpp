#include "model/app_model.h"

#include <gtest/gtest.h>

#include "menubar/status_look.h"
#include "model/system_probes.h"
#include "scroll/event_fields.h"
#include "support/desktop_test.h"

namespace wheelright {
namespace {

using namespace testing;
using Failure = sim::SimEventTaps::CreationFailure;

// Launch evaluates from probes read first (the model starts untrusted), runs the tap, posts the
// checklist instead of showing it inside the launch, and starts polling last.
TEST_F(DesktopTest, LaunchEvaluatesFromFreshProbesPostsTheChecklistAndThenPolls) {
  system().setTrusted(true);
  launch(true);
  EXPECT_EQ(model->status(), Status::active());
  EXPECT_TRUE(tapRunning());
  EXPECT_TRUE(alertTitles().empty()) << "never an alert inside the launch";
  EXPECT_EQ(take().back(), "scheduleRepeatingTimer interval=1.5");
  desktop->runPending();
  EXPECT_EQ(alertTitles(), Lines{onboardingTitle});
}

// The first rule that applies decides, at launch and at every later evaluation alike.
TEST_F(DesktopTest, StatusTable) {
  struct Row {
    bool isEnabled, natural, trusted, tapFails;
    Status expected;
  };
  const Row rows[] = {
      {false, false, false, true, Status::paused()},
      {true, false, false, true, Status::naturalScrollRequired()},
      {true, true, false, true, Status::permissionRequired()},
      {true, true, true, false, Status::active()},
      {true, true, true, true, Status::error(tapErrorText)},
  };
  for (const Row& row : rows) {
    for (const bool atLaunch : {true, false}) {
      SCOPED_TRACE(std::string(statusLook(row.expected.kind).name) +
                   (atLaunch ? " at launch" : " later"));
      desktop = sim::SimDesktop::create();
      stored("isEnabled", atLaunch ? row.isEnabled : true);
      system().setTrusted(!atLaunch || row.trusted);
      system().setNaturalScrollPreference(!atLaunch || row.natural);
      taps().setCreationFailure(atLaunch && row.tapFails ? Failure::tap : Failure::none);
      launch();
      if (!atLaunch) {
        ASSERT_EQ(model->status(), Status::active());
        settings->setIsEnabled(row.isEnabled);
        system().setTrusted(row.trusted);
        system().setNaturalScrollPreference(row.natural);
        if (row.tapFails) {
          taps().setCreationFailure(Failure::source);
          taps().disableTap(taps().newestTap(), sim::SimEventTaps::DisableReason::silent);
        }
        model->refreshStatus();
      }
      EXPECT_EQ(model->status(), row.expected);
      EXPECT_EQ(tapRunning(), row.expected == Status::active());
      EXPECT_EQ(model->isNaturalScrollEnabled(), row.natural);
      EXPECT_EQ(model->isAccessibilityGranted(), row.trusted);
      EXPECT_EQ(taps().liveHandleCount(), row.expected == Status::active() ? 2u : 0u);
    }
  }
}

// The timer's callout only starts a main-thread task; the evaluation runs later, as a job of its
// own, after the job that was running when the timer fell due has returned.
TEST_F(DesktopTest, EachPollEvaluatesInAJobOfItsOwnNotInsideTheTimersCallout) {
  system().setTrusted(true);
  launch();
  take();
  Lines duringJob;
  desktop->runLoop().postToMainQueue([&] {
    poll();
    duringJob = take();
  });
  desktop->runPending();
  EXPECT_EQ(duringJob, (Lines{"postToMainQueue", "startMainThreadTask"}));
  EXPECT_EQ(take(), (Lines{"copyPreferenceValue com.apple.swipescrolldirection", "isProcessTrusted",
                           "tapIsEnabled"}));
}

TEST_F(DesktopTest, OnboardingDecision) {
  struct Row {
    bool shown, isEnabled, natural, trusted, posted;
  };
  const Row rows[] = {
      {false, true, true, true, true},    {false, false, false, false, true},
      {true, true, true, true, false},    {true, false, false, true, false},
      {true, false, true, false, false},  {true, true, true, false, true},
      {true, true, false, true, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.shown << row.isEnabled << row.natural << row.trusted);
    desktop = sim::SimDesktop::create();
    stored("isEnabled", row.isEnabled);
    stored("hasShownNaturalScrollOnboarding", row.shown);
    system().setNaturalScrollPreference(row.natural);
    system().setTrusted(row.trusted);
    launch(true);
    desktop->runPending();
    EXPECT_EQ(alertTitles(), row.posted ? Lines{onboardingTitle} : Lines{});
  }
}

// Each warning comes once when its cause appears, and again only after the cause was seen
// cleared; what the checklist at launch listed as missing counts as warned about.
TEST_F(DesktopTest, WarningsAcrossSequences) {
  struct Step {
    bool natural, trusted, isEnabled;
    Status status;
    const char* alert;
  };
  struct Sequence {
    const char* what;
    bool natural, trusted;
    std::vector<Step> steps;
  };
  const Status active = Status::active(), natural = Status::naturalScrollRequired(),
               permission = Status::permissionRequired(), paused = Status::paused();
  const Sequence sequences[] = {
      {"from active", true, true, {
          {false, true, true, natural, disabledTitle}, {false, true, true, natural, nullptr},
          {true, true, true, active, nullptr}, {false, true, true, natural, disabledTitle},
          {true, true, true, active, nullptr}, {true, false, true, permission, permissionTitle},
          {true, false, true, permission, nullptr}, {false, false, true, natural, disabledTitle},
          {true, false, true, permission, nullptr}, {true, true, true, active, nullptr},
          {true, true, false, paused, nullptr}, {false, false, false, paused, nullptr},
          {false, false, true, natural, nullptr}, {true, false, true, permission, permissionTitle}}},
      {"checklist listed the missing trust", true, false, {
          {true, false, true, permission, nullptr},
          {false, false, true, natural, disabledTitle},
          {true, false, true, permission, nullptr},
          {true, true, true, active, nullptr},
          {true, false, true, permission, permissionTitle}}},
      {"natural comes on while trust was never granted", false, false, {
          {false, false, true, natural, nullptr},
          {true, false, true, permission, permissionTitle},
          {true, false, true, permission, nullptr}}},
  };
  for (const Sequence& sequence : sequences) {
    desktop = sim::SimDesktop::create();
    system().setNaturalScrollPreference(sequence.natural);
    system().setTrusted(sequence.trusted);
    launch();
    desktop->runPending();
    const bool isReady = sequence.natural && sequence.trusted;
    EXPECT_EQ(alertTitles(), isReady ? Lines{} : Lines{onboardingTitle}) << sequence.what;
    for (std::size_t i = 0; i < sequence.steps.size(); ++i) {
      const Step& step = sequence.steps[i];
      SCOPED_TRACE(::testing::Message() << sequence.what << ", step " << i);
      system().setNaturalScrollPreference(step.natural);
      system().setTrusted(step.trusted);
      const std::size_t before = alertTitles().size();
      if (settings->isEnabled() != step.isEnabled) {
        model->setEnabled(step.isEnabled);  // takes effect before it returns
      } else {
        poll();
      }
      EXPECT_EQ(model->status(), step.status);
      EXPECT_EQ(tapRunning(), step.status == active);
      desktop->runPending();
      Lines shown = alertTitles();
      shown.erase(shown.begin(), shown.begin() + static_cast<long>(before));
      EXPECT_EQ(shown, step.alert ? Lines{step.alert} : Lines{});
    }
  }
}

// The checklist at launch listed natural scrolling as missing. It shows the switch on (the user
// was quick), the switch goes off again: still no warning, as no evaluation has seen it on.
TEST_F(DesktopTest, WhatTheChecklistListedIsNotWarnedAboutUntilAnEvaluationSeesItDone) {
  system().setTrusted(true);
  system().setNaturalScrollPreference(false);
  launch();
  system().setNaturalScrollPreference(true);
  desktop->runPending();
  system().setNaturalScrollPreference(false);
  poll();
  EXPECT_EQ(model->status(), Status::naturalScrollRequired());
  EXPECT_EQ(alertTitles(), Lines{onboardingTitle});
}

TEST_F(DesktopTest, AFailingTapIsTriedOncePerEvaluationWithoutAnAlert) {
  system().setTrusted(true);
  taps().setCreationFailure(Failure::tap);
  launch();
  const auto creations = [this] {
    return std::count_if(desktop->calls().begin(), desktop->calls().end(),
                         [](const std::string& call) { return call.starts_with("tapCreate"); });
  };
  for (int evaluations = 1; evaluations <= 3; ++evaluations) {
    EXPECT_EQ(model->status(), Status::error(tapErrorText));
    EXPECT_EQ(creations(), evaluations);
    poll();
  }
  taps().setCreationFailure(Failure::none);
  poll();
  poll();
  EXPECT_EQ(model->status(), Status::active());
  EXPECT_EQ(creations(), 5) << "a running tap is not created again";
  EXPECT_TRUE(alertTitles().empty());
}

// Once the model is gone, the tap falls back to the fresh user's switches, not the stored ones.
TEST_F(DesktopTest, TheProviderOutlivesNothing) {
  system().setTrusted(true);
  stored("reverseVertical", false);
  stored("treatContinuousWithoutPhaseAsMouse", true);
  launch();
  const std::shared_ptr<ScrollEventTap> keptTap = model->eventTap().shared_from_this();
  const std::weak_ptr<AppModel> watch = model;
  settings.reset();
  model.reset();
  EXPECT_TRUE(watch.expired()) << "the tap's provider does not keep the model";
  EXPECT_EQ(desktop->runLoop().validTimerCount(), 0u);
  sim::SimEvent wheel = sim::SimEvent::mouseWheel(2, 2);
  scrollTapCallback(nullptr, wheel.type, sim::toEventRef(wheel), keptTap.get());
  EXPECT_EQ(wheel.integerValue(field::deltaAxis1), -2) << "fallback: vertical only";
  EXPECT_EQ(wheel.integerValue(field::deltaAxis2), 2);
  sim::SimEvent continuous = sim::SimEvent::mouseWheel(2, 2);
  continuous.setIntegerValue(field::isContinuous, 1);
  scrollTapCallback(nullptr, continuous.type, sim::toEventRef(continuous), keptTap.get());
  EXPECT_EQ(continuous.integerValue(field::deltaAxis1), 2) << "fallback: no smooth-wheel mode";
}

}  // namespace
}  // namespace wheelright
