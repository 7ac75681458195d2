#include "settings/app_settings.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"

namespace wheelright {
namespace {

using testing::CallLog;
using testing::FakeUserDefaults;

TEST(AppSettings, ConstructionRegistersAllFiveDefaultsThenLoadsTheFourSwitches) {
  CallLog log;
  auto store = std::make_shared<FakeUserDefaults>(log);
  AppSettings settings(store);
  EXPECT_EQ(log, (CallLog{"registerDefaults", "boolForKey isEnabled", "boolForKey reverseVertical",
                          "boolForKey reverseHorizontal",
                          "boolForKey treatContinuousWithoutPhaseAsMouse"}));
  EXPECT_EQ(store->registered, (std::map<std::string, bool>{
                                   {"isEnabled", true},
                                   {"reverseVertical", true},
                                   {"reverseHorizontal", false},
                                   {"treatContinuousWithoutPhaseAsMouse", false},
                                   {"hasShownNaturalScrollOnboarding", false},
                               }));
  EXPECT_TRUE(store->stored.empty()) << "construction persists nothing";
  EXPECT_TRUE(settings.isEnabled());
  EXPECT_TRUE(settings.reverseVertical());
  EXPECT_FALSE(settings.reverseHorizontal());
  EXPECT_FALSE(settings.treatContinuousWithoutPhaseAsMouse());
  EXPECT_FALSE(settings.defaults().boolForKey("hasShownNaturalScrollOnboarding"));
  EXPECT_EQ(settings.configuration(), settingsDefaultConfiguration);
  EXPECT_EQ(&settings.defaults(), store.get());
}

TEST(AppSettings, StoredValuesWinOverRegisteredDefaults) {
  CallLog log;
  auto store = std::make_shared<FakeUserDefaults>(log);
  store->stored = {{"isEnabled", false}, {"reverseVertical", false}, {"reverseHorizontal", true},
                   {"treatContinuousWithoutPhaseAsMouse", true}};
  AppSettings settings(store);
  EXPECT_FALSE(settings.isEnabled());
  EXPECT_EQ(settings.configuration(), (ScrollConfiguration{false, true, true}));
}

TEST(AppSettings, EveryWriteAnnouncesBeforeStoringThenWritesThrough) {
  struct Row {
    const char* key;
    void (AppSettings::*set)(bool);
    bool (AppSettings::*get)() const;
    bool value;
  };
  const Row rows[] = {
      {"isEnabled", &AppSettings::setIsEnabled, &AppSettings::isEnabled, false},
      {"reverseVertical", &AppSettings::setReverseVertical, &AppSettings::reverseVertical, false},
      {"reverseHorizontal", &AppSettings::setReverseHorizontal, &AppSettings::reverseHorizontal, true},
      {"treatContinuousWithoutPhaseAsMouse", &AppSettings::setTreatContinuousWithoutPhaseAsMouse,
       &AppSettings::treatContinuousWithoutPhaseAsMouse, true},
      // Writing the value a switch already holds still announces and still writes the key.
      {"reverseVertical", &AppSettings::setReverseVertical, &AppSettings::reverseVertical, true},
      {"reverseHorizontal", &AppSettings::setReverseHorizontal, &AppSettings::reverseHorizontal, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.key);
    CallLog log;
    auto store = std::make_shared<FakeUserDefaults>(log);
    AppSettings settings(store);
    const bool before = (settings.*row.get)();
    log.clear();
    std::vector<bool> seenByObserver;
    settings.objectWillChange.subscribe([&] {
      log.push_back("willChange");
      seenByObserver.push_back((settings.*row.get)());
    });
    (settings.*row.set)(row.value);
    EXPECT_EQ(log, (CallLog{"willChange", std::string("setBool ") + row.key + "=" +
                                              (row.value ? "true" : "false")}));
    EXPECT_EQ(seenByObserver, std::vector<bool>{before}) << "the observer runs before the store";
    EXPECT_EQ((settings.*row.get)(), row.value);
    EXPECT_EQ(store->stored.at(row.key), row.value);
  }
}

TEST(AppSettings, ConfigurationFollowsTheRewritingSwitchesOnly) {
  CallLog log;
  AppSettings settings(std::make_shared<FakeUserDefaults>(log));
  settings.setReverseHorizontal(true);
  EXPECT_EQ(settings.configuration(), (ScrollConfiguration{true, true, false}));
  settings.setIsEnabled(false);
  EXPECT_EQ(settings.configuration(), (ScrollConfiguration{true, true, false}));
  settings.setTreatContinuousWithoutPhaseAsMouse(true);
  settings.setReverseVertical(false);
  EXPECT_EQ(settings.configuration(), (ScrollConfiguration{false, true, true}));
}

TEST(AppSettings, AValueWrittenLoadsInTheNextSettingsOverTheSameStore) {
  CallLog log;
  auto store = std::make_shared<FakeUserDefaults>(log);
  {
    AppSettings first(store);
    first.setReverseHorizontal(true);
    first.setIsEnabled(false);
  }
  AppSettings second(store);
  EXPECT_TRUE(second.reverseHorizontal());
  EXPECT_FALSE(second.isEnabled());
  EXPECT_TRUE(second.reverseVertical());
}

}  // namespace
}  // namespace wheelright
