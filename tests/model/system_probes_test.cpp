#include "model/system_probes.h"

#include <gtest/gtest.h>

#include <limits>

#include "support/desktop_test.h"

namespace wheelright {
namespace {

using testing::Lines;

// Each row is read afresh from the same desktop: nothing is cached between reads. The
// natural_scrolling transcript plays unset, 0, 0.0, 0.5 and a string.
TEST(SystemProbes, TheNaturalScrollingPreferenceAsStored) {
  const std::pair<PreferenceValue, bool> rows[] = {
      {false, false}, {true, true}, {std::int64_t{2}, true}, {std::int64_t{-1}, true},
      {-0.0, false}, {std::numeric_limits<double>::quiet_NaN(), true},
      {PreferenceOther{"array"}, true},
  };
  sim::DesktopLog log;
  sim::SimSystem system(log);
  for (const auto& [value, isOn] : rows) {
    system.setNaturalScrollPreference(value);
    EXPECT_EQ(readNaturalScrollEnabled(system), isOn) << value.index();
  }
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

// The transcripts open each pane, and System Settings when the pane's URL is refused.
TEST(SystemProbes, PanesAndTheFallbackToSystemSettings) {
  const std::string trackpad = "openURL " + std::string(trackpadPaneAddress);
  const std::string accessibility = "openURL " + std::string(accessibilityPaneAddress);
  const std::string launch = "openApplication /System/Applications/System Settings.app";
  // What is opened, whether the system opens URLs and forms them, the calls made.
  const std::tuple<void (*)(SystemServices&), bool, bool, Lines> rows[] = {
      {openNaturalScrollSettings, true, false, {trackpad, launch}},
      {openAccessibilitySettings, false, true, {accessibility}},
      {openAccessibilitySettings, true, false, {accessibility}},
  };
  for (const auto& [open, opens, formsURLs, calls] : rows) {
    sim::DesktopLog log;
    std::unique_ptr<sim::SimSystem> system =
        formsURLs ? std::make_unique<sim::SimSystem>(log) : std::make_unique<NoURLs>(log);
    system->setOpensURLs(opens);
    open(*system);
    EXPECT_EQ(log.calls(), calls);
  }
}

}  // namespace
}  // namespace wheelright
