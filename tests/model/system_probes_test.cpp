#include "model/system_probes.h"

#include <gtest/gtest.h>

#include <limits>

#include "support/desktop_test.h"

namespace wheelright {
namespace {

using testing::Lines;

// Each row is read afresh from the same desktop: nothing is cached between reads.
TEST(SystemProbes, TheNaturalScrollingPreferenceAsStored) {
  struct Row {
    PreferenceValue value;
    bool isOn;
  };
  const Row rows[] = {
      {std::monostate{}, true}, {false, false}, {true, true}, {std::int64_t{0}, false},
      {std::int64_t{2}, true}, {std::int64_t{-1}, true}, {0.0, false}, {-0.0, false}, {0.5, true},
      {std::numeric_limits<double>::quiet_NaN(), true}, {PreferenceOther{"string 0"}, true},
      {PreferenceOther{"array"}, true},
  };
  sim::DesktopLog log;
  sim::SimSystem system(log);
  for (const Row& row : rows) {
    system.setNaturalScrollPreference(row.value);
    EXPECT_EQ(readNaturalScrollEnabled(system), row.isOn) << row.value.index();
  }
  EXPECT_FALSE(readAccessibilityTrusted(system));
  system.setTrusted(true);
  EXPECT_TRUE(readAccessibilityTrusted(system));
}

// A desktop on which no address forms a URL.
class NoURLs : public sim::SimSystem {
 public:
  using SimSystem::SimSystem;
  OpenURLResult openURL(const std::string& address) override {
    SimSystem::openURL(address);
    return OpenURLResult::notAURL;
  }
};

TEST(SystemProbes, PanesAndTheFallbackToSystemSettings) {
  const std::string trackpad = "openURL " + std::string(trackpadPaneAddress);
  const std::string accessibility = "openURL " + std::string(accessibilityPaneAddress);
  const std::string launch = "openApplication /System/Applications/System Settings.app";
  struct Row {
    void (*open)(SystemServices&);
    bool opens, formsURLs;
    Lines calls;
  };
  const Row rows[] = {
      {openNaturalScrollSettings, true, true, {trackpad}},
      {openNaturalScrollSettings, false, true, {trackpad, launch}},
      {openNaturalScrollSettings, true, false, {trackpad, launch}},
      {openAccessibilitySettings, true, true, {accessibility}},
      {openAccessibilitySettings, false, true, {accessibility}},
      {openAccessibilitySettings, true, false, {accessibility}},
  };
  for (const Row& row : rows) {
    sim::DesktopLog log;
    std::unique_ptr<sim::SimSystem> system =
        row.formsURLs ? std::make_unique<sim::SimSystem>(log) : std::make_unique<NoURLs>(log);
    system->setOpensURLs(row.opens);
    row.open(*system);
    EXPECT_EQ(log.calls(), row.calls);
  }
}

}  // namespace
}  // namespace wheelright
