#include "model/system_probes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "fakes/fake_platform.h"

namespace wheelright {
namespace {

using testing::CallLog;
using testing::FakeSystem;

TEST(SystemProbes, PreferenceValueReading) {
  struct Row {
    const char* name;
    PreferenceValue value;
    bool expected;
  };
  const Row rows[] = {
      {"absent", std::monostate{}, true},
      {"boolean false", false, false},
      {"boolean true", true, true},
      {"integer 0", std::int64_t{0}, false},
      {"integer 1", std::int64_t{1}, true},
      {"integer 2", std::int64_t{2}, true},
      {"integer -1", std::int64_t{-1}, true},
      {"real 0.0", 0.0, false},
      {"real -0.0", -0.0, false},
      {"real 0.5", 0.5, true},
      {"real NaN", std::numeric_limits<double>::quiet_NaN(), true},
      {"string \"0\"", PreferenceOther{"string 0"}, true},
      {"string \"false\"", PreferenceOther{"string false"}, true},
      {"date", PreferenceOther{"date"}, true},
      {"array", PreferenceOther{"array"}, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(preferenceBoolValue(row.value), row.expected);
    CallLog log;
    FakeSystem system(log);
    system.naturalScroll = row.value;
    EXPECT_EQ(readNaturalScrollEnabled(system), row.expected);
    EXPECT_EQ(log, CallLog{"copyPreference com.apple.swipescrolldirection"});
  }
}

TEST(SystemProbes, EachReadSeesTheCurrentValue) {
  CallLog log;
  FakeSystem system(log);
  EXPECT_TRUE(readNaturalScrollEnabled(system));
  system.naturalScroll = false;
  EXPECT_FALSE(readNaturalScrollEnabled(system));
  EXPECT_FALSE(readAccessibilityTrusted(system));
  system.trusted = true;
  EXPECT_TRUE(readAccessibilityTrusted(system));
}

TEST(SystemProbes, PaneAddressesAndSettingsPath) {
  EXPECT_EQ(accessibilityPaneAddress,
            "x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility");
  EXPECT_EQ(accessibilityPaneAddress.size(), 77u);
  EXPECT_EQ(trackpadPaneAddress, "x-apple.systempreferences:com.apple.Trackpad-Settings.extension");
  EXPECT_EQ(trackpadPaneAddress.size(), 63u);
  EXPECT_EQ(settingsApplicationPath, "/System/Applications/System Settings.app");
  EXPECT_EQ(settingsApplicationPath.size(), 40u);
}

TEST(SystemProbes, PanesAndTheirFallback) {
  struct Row {
    const char* name;
    void (*open)(SystemServices&);
    OpenURLResult answer;
    CallLog expected;
  };
  const std::string trackpad = "openURL " + std::string(trackpadPaneAddress);
  const std::string accessibility = "openURL " + std::string(accessibilityPaneAddress);
  const std::string launch = "openApplication /System/Applications/System Settings.app";
  const Row rows[] = {
      {"trackpad pane accepted", openNaturalScrollSettings, OpenURLResult::opened, {trackpad}},
      {"trackpad pane refused: settings launched once", openNaturalScrollSettings,
       OpenURLResult::refused, {trackpad, launch}},
      {"trackpad address not a URL: settings launched once", openNaturalScrollSettings,
       OpenURLResult::notAURL, {trackpad, launch}},
      {"accessibility pane accepted", openAccessibilitySettings, OpenURLResult::opened, {accessibility}},
      {"accessibility pane refused: ignored", openAccessibilitySettings, OpenURLResult::refused,
       {accessibility}},
      {"accessibility address not a URL: ignored", openAccessibilitySettings, OpenURLResult::notAURL,
       {accessibility}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    CallLog log;
    FakeSystem system(log);
    system.openAnswer = row.answer;
    row.open(system);
    EXPECT_EQ(log, row.expected);
  }
}

TEST(SystemProbes, PromptQuitAndLoginProbe) {
  CallLog log;
  FakeSystem system(log);
  promptForAccessibilityTrust(system);
  quitApplication(system);
  EXPECT_EQ(log, (CallLog{"trustPrompt", "terminate"}));

  const std::pair<LoginItemStatus, bool> rows[] = {
      {LoginItemStatus::notRegistered, false},
      {LoginItemStatus::enabled, true},
      {LoginItemStatus::requiresApproval, false},
      {LoginItemStatus::notFound, false},
      {static_cast<LoginItemStatus>(7), false},
  };
  for (const auto& [status, expected] : rows) {
    system.loginStatus = status;
    EXPECT_EQ(isLoginItemEnabled(system), expected) << static_cast<int>(status);
  }
}

}  // namespace
}  // namespace wheelright
