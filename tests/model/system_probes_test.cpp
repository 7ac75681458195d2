#include "model/system_probes.h"

#include <gtest/gtest.h>

#include <limits>

#include "support/desktop_test.h"

namespace wheelright {
namespace {

using testing::Lines;

// Each row is read afresh from the same desktop: nothing is cached between reads.
TEST(SystemProbes, TheNaturalScrollingPreferenceAsStored) {
  const std::pair<PreferenceValue, bool> rows[] = {
      {false, false}, {true, true}, {std::monostate{}, true}, {std::int64_t{0}, false},
      {std::int64_t{2}, true}, {std::int64_t{-1}, true}, {0.5, true}, {-0.0, false},
      {std::numeric_limits<double>::quiet_NaN(), true}, {PreferenceOther{"0"}, true},
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
  OpenURLResult openURL(const std::string&) override { return OpenURLResult::notAURL; }
};

// The transcripts open each pane, and System Settings when the trackpad pane is refused.
TEST(SystemProbes, PanesAndTheFallbackToSystemSettings) {
  // What is opened, whether the system opens URLs and forms them, what the system says.
  const std::tuple<void (*)(SystemServices&), bool, bool, Lines> rows[] = {
      {openNaturalScrollSettings, true, false,
       {"system: launched /System/Applications/System Settings.app"}},
      {openAccessibilitySettings, false, true,
       {"system: refused " + std::string(accessibilityPaneAddress)}},
      {openAccessibilitySettings, true, false, {}},
  };
  for (const auto& [open, opens, formsURLs, said] : rows) {
    sim::DesktopLog log;
    std::unique_ptr<sim::SimSystem> system =
        formsURLs ? std::make_unique<sim::SimSystem>(log) : std::make_unique<NoURLs>(log);
    system->setOpensURLs(opens);
    open(*system);
    EXPECT_EQ(log.output(), said);
  }
}

}  // namespace
}  // namespace wheelright
