// Long random runs of probe changes, switch changes, tap failures and timer ticks, checked after
// every step against the status table, the tap's state and the once-until-cleared warnings.

#include <gtest/gtest.h>

#include <random>

#include "model/model_fixture.h"

namespace wheelright {
namespace {

using Status = AppModel::Status;

struct Inputs {
  bool isEnabled;
  bool natural;
  bool trusted;
};

Status expectedStatus(const Inputs& in, bool tapWasRunning, bool creationFails) {
  if (!in.isEnabled) return Status::paused();
  if (!in.natural) return Status::naturalScrollRequired();
  if (!in.trusted) return Status::permissionRequired();
  if (!tapWasRunning && creationFails) return Status::error(testing::tapErrorText);
  return Status::active();
}

PreferenceValue naturalValue(std::mt19937& rng, bool on) {
  switch (rng() % 4) {
    case 0:
      return on;
    case 1:
      return on ? std::int64_t(1 + static_cast<int>(rng() % 3)) : std::int64_t{0};
    case 2:
      return on ? 0.5 : 0.0;
    default:
      return on ? PreferenceValue{std::monostate{}} : PreferenceValue{false};
  }
}

TEST(AppModelRandom, LongSequencesKeepTheStatusTapAndWarningsConsistent) {
  for (unsigned seed = 1; seed <= 40; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 rng(seed);
    auto coin = [&rng](int percent) { return static_cast<int>(rng() % 100) < percent; };

    testing::FakePlatform fake;
    Inputs in{coin(80), coin(70), coin(50)};
    fake.defaults->stored = {{"isEnabled", in.isEnabled}, {"hasShownNaturalScrollOnboarding", coin(50)}};
    fake.system->naturalScroll = naturalValue(rng, in.natural);
    fake.system->trusted = in.trusted;
    bool failCreate = coin(20);
    bool failSource = coin(10);
    fake.eventTaps->failTapCreate = failCreate;
    fake.eventTaps->failSourceCreate = failSource;
    fake.alerts->defaultResponse = 999;

    const bool shown = fake.defaults->stored["hasShownNaturalScrollOnboarding"];
    auto settings = std::make_shared<AppSettings>(fake.defaults);
    auto model = AppModel::create(settings, fake.platform());
    ASSERT_EQ(model->status(), expectedStatus(in, false, failCreate || failSource));
    ASSERT_EQ(fake.eventTaps->hasRunningTap(), model->status() == Status::active());

    // Whether a warning may come: false from its posting until its cause has been seen cleared.
    bool disabledArmed = true;
    bool permissionArmed = true;
    if (!shown || (in.isEnabled && !(in.natural && in.trusted))) {
      disabledArmed = in.natural;
      permissionArmed = !(in.natural && !in.trusted);
    }
    Inputs previous = in;
    fake.mainLoop->runJobs();  // the checklist, if it was posted

    for (int step = 0; step < 300; ++step) {
      SCOPED_TRACE("step " + std::to_string(step));
      bool viaSetEnabled = false;
      switch (rng() % 8) {
        case 0:
          in.natural = !in.natural;
          fake.system->naturalScroll = naturalValue(rng, in.natural);
          break;
        case 1:
          in.trusted = !in.trusted;
          fake.system->trusted = in.trusted;
          break;
        case 2:
          in.isEnabled = !in.isEnabled;
          viaSetEnabled = coin(50);
          if (!viaSetEnabled) settings->setIsEnabled(in.isEnabled);  // picked up by the next poll
          break;
        case 3:
          failCreate = coin(50);
          failSource = !failCreate && coin(30);
          fake.eventTaps->failTapCreate = failCreate;
          fake.eventTaps->failSourceCreate = failSource;
          break;
        case 4:
          // The system disables the tap, with or without telling it.
          if (fake.eventTaps->hasRunningTap()) {
            auto& port = *fake.eventTaps->ports().back();
            port.enabled = false;
            if (coin(50)) fake.eventTaps->deliver(0xFFFFFFFEu, nullptr);
          }
          break;
        case 5:
          settings->setReverseHorizontal(coin(50));
          break;
        case 6:
          // Alerts answered with any button, or closed without one.
          fake.alerts->defaultResponse = 999 + static_cast<long>(rng() % 5);
          break;
        default:
          break;  // a plain tick
      }
      const bool tapWasRunning = fake.eventTaps->hasRunningTap();
      const bool creationFails = failCreate || failSource;
      fake.alerts->shown.clear();
      if (viaSetEnabled) {
        model->setEnabled(in.isEnabled);
        fake.mainLoop->runJobs();
      }
      fake.mainLoop->tick();

      ASSERT_EQ(model->status(), expectedStatus(in, tapWasRunning, creationFails));
      ASSERT_EQ(fake.eventTaps->hasRunningTap(), model->status() == Status::active());
      ASSERT_EQ(model->isNaturalScrollEnabled(), in.natural);
      ASSERT_EQ(model->isAccessibilityGranted(), in.trusted);

      for (const auto& alert : fake.alerts->shown) {
        if (alert.messageText == testing::disabledTitle) {
          ASSERT_TRUE(disabledArmed) << "natural-scrolling warning again without natural seen on";
          disabledArmed = false;
        } else if (alert.messageText == testing::permissionTitle) {
          ASSERT_TRUE(permissionArmed) << "permission warning again without trust seen granted";
          permissionArmed = false;
        } else {
          ADD_FAILURE() << "unexpected alert " << alert.messageText;
        }
      }
      if (in.isEnabled && in.natural && !previous.natural) disabledArmed = true;
      if (in.isEnabled && in.natural && in.trusted && !previous.trusted) permissionArmed = true;
      previous = in;
    }
  }
}

}  // namespace
}  // namespace wheelright
