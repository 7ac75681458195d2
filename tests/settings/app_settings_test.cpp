#include "settings/app_settings.h"

#include <gtest/gtest.h>

#include "support/desktop_test.h"

namespace wheelright {
namespace {

using namespace testing;

TEST_F(DesktopTest, SettingsRegisterAllFiveDefaultsThenLoadTheFourSwitches) {
  AppSettings fresh(desktop->platform().standardUserDefaults);
  EXPECT_EQ(take(), (Lines{"registerDefaults hasShownNaturalScrollOnboarding=false isEnabled=true "
                           "reverseHorizontal=false reverseVertical=true "
                           "treatContinuousWithoutPhaseAsMouse=false",
                           "boolForKey isEnabled", "boolForKey reverseVertical",
                           "boolForKey reverseHorizontal",
                           "boolForKey treatContinuousWithoutPhaseAsMouse"}));
  // A new user's menu in the transcripts shows the registered values.
  EXPECT_TRUE(desktop->userDefaultsStore().storedValues().empty()) << "nothing persisted";

  stored("isEnabled", false);
  stored("reverseHorizontal", true);
  stored("treatContinuousWithoutPhaseAsMouse", true);
  AppSettings returning(desktop->platform().standardUserDefaults);
  EXPECT_FALSE(returning.isEnabled());
  EXPECT_EQ(returning.configuration(), (ScrollConfiguration{true, true, true}));
}

// Every write announces first (the observer still sees the old value), then stores and writes
// through; the configuration holds the three rewriting switches only.
TEST_F(DesktopTest, EveryWriteAnnouncesStoresAndWritesThrough) {
  // The setter, its getter, the value set, the line written, the configuration after.
  const std::tuple<void (AppSettings::*)(bool), bool (AppSettings::*)() const, bool, const char*,
                   ScrollConfiguration>
      rows[] = {
      {&AppSettings::setReverseHorizontal, &AppSettings::reverseHorizontal, true,
       "reverseHorizontal=true", {true, true, false}},
      {&AppSettings::setIsEnabled, &AppSettings::isEnabled, false, "isEnabled=false", {true, true, false}},
      {&AppSettings::setTreatContinuousWithoutPhaseAsMouse,
       &AppSettings::treatContinuousWithoutPhaseAsMouse, true,
       "treatContinuousWithoutPhaseAsMouse=true", {true, true, true}},
      {&AppSettings::setReverseVertical, &AppSettings::reverseVertical, false, "reverseVertical=false",
       {false, true, true}},
  };
  settings = std::make_shared<AppSettings>(desktop->platform().standardUserDefaults);
  AppSettings& s = *settings;
  for (const auto& [set, read, value, written, after] : rows) {
    SCOPED_TRACE(written);
    const bool before = (s.*read)();
    bool seenByObserver = !before;
    auto watching = s.objectWillChange.subscribe([&, get = read] { seenByObserver = (s.*get)(); });
    take();
    (s.*set)(value);
    watching.reset();
    EXPECT_EQ(seenByObserver, before) << "told before the value is stored";
    EXPECT_EQ(take(), Lines{std::string("setBool ") + written});
    EXPECT_EQ((s.*read)(), value);
    EXPECT_EQ(s.configuration(), after);
  }
}

}  // namespace
}  // namespace wheelright
