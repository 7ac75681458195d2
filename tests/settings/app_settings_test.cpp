#include "settings/app_settings.h"

#include <gtest/gtest.h>

#include "support/desktop_test.h"

namespace wheelright {
namespace {

using namespace testing;

// A fresh user's values, the key each switch is stored under and what the next launch reads are in
// the transcripts (menus, `defaults`, relaunch). Here what they cannot show: observers are told of
// every write while the old value still holds, and a write that changes nothing is stored anyway.
TEST_F(DesktopTest, EveryWriteIsAnnouncedBeforeItTakesEffectAndStoredEvenWhenEqual) {
  settings = std::make_shared<AppSettings>(desktop->platform().standardUserDefaults);
  const auto& stored = desktop->userDefaultsStore().storedValues();
  EXPECT_TRUE(stored.empty()) << "defaults are registered, not written";
  for (const ScrollSwitch& which : scrollSwitches) {
    const std::string key(which.key);
    SCOPED_TRACE(key);
    const bool fresh = settings->isOn(which);
    std::vector<bool> seen;
    auto watching =
        settings->objectWillChange.subscribe([&] { seen.push_back(settings->isOn(which)); });
    settings->set(which, fresh);
    EXPECT_TRUE(stored.contains(key) && stored.at(key) == fresh);
    settings->set(which, !fresh);
    EXPECT_EQ(seen, (std::vector<bool>{fresh, fresh}));
    EXPECT_EQ(settings->isOn(which), !fresh);
    EXPECT_TRUE(stored.contains(key) && stored.at(key) == !fresh);
  }
}

}  // namespace
}  // namespace wheelright
