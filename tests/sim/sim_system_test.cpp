#include "platform/sim/sim_system.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "model/system_probes.h"

namespace wheelright::sim {
namespace {

TEST(SimSystemTest, TheLoginItemRegistersUnregistersAndFailsOnce) {
  enum class Call { registers, unregisters };
  struct Row {
    const char* what;
    LoginItemStatus before;
    std::optional<std::string> failure;
    Call call;
    std::optional<std::string> error;
    LoginItemStatus after;
    std::string shown;
  };
  const auto enabled = LoginItemStatus::enabled;
  const auto notRegistered = LoginItemStatus::notRegistered;
  const std::vector<Row> rows = {
      {"register",
       notRegistered,
       {},
       Call::registers,
       {},
       enabled,
       "system: login item registered"},
      {"register awaiting approval",
       LoginItemStatus::requiresApproval,
       {},
       Call::registers,
       {},
       enabled,
       "system: login item registered"},
      {"unregister",
       enabled,
       {},
       Call::unregisters,
       {},
       notRegistered,
       "system: login item unregistered"},
      {"failing register changes nothing", notRegistered, "Operation not permitted",
       Call::registers, "Operation not permitted", notRegistered,
       "system: login item error: Operation not permitted"},
      {"failing unregister changes nothing", enabled, "Busy", Call::unregisters, "Busy", enabled,
       "system: login item error: Busy"},
  };
  for (const Row& row : rows) {
    DesktopLog log;
    SimSystem system(log);
    system.setLoginItemStatus(row.before);
    if (row.failure) system.failNextLoginItemChange(*row.failure);
    const std::optional<PlatformError> result = row.call == Call::registers
                                                    ? system.registerMainAppService()
                                                    : system.unregisterMainAppService();
    EXPECT_EQ(result ? std::optional<std::string>(result->localizedDescription) : std::nullopt,
              row.error)
        << row.what;
    EXPECT_EQ(system.mainAppServiceStatus(), row.after) << row.what;
    EXPECT_EQ(log.output(), std::vector<std::string>{row.shown}) << row.what;

    // The failure was for one call only.
    const std::optional<PlatformError> next = row.call == Call::registers
                                                  ? system.registerMainAppService()
                                                  : system.unregisterMainAppService();
    EXPECT_FALSE(next) << row.what;
  }
}

TEST(SimSystemTest, TheWorkspaceOpensRefusesOrCannotFormTheURL) {
  struct Row {
    std::string address;
    bool opens;
    OpenURLResult result;
    std::vector<std::string> shown;
  };
  const std::string pane(accessibilityPaneAddress);
  const std::vector<Row> rows = {
      {pane, true, OpenURLResult::opened, {"system: opened " + pane}},
      {pane, false, OpenURLResult::refused, {"system: refused " + pane}},
      {"", true, OpenURLResult::notAURL, {}},
      {"no scheme here", true, OpenURLResult::notAURL, {}},
      {":missing", true, OpenURLResult::notAURL, {}},
      {"1http://digit.first", true, OpenURLResult::notAURL, {}},
      {"https://has space", true, OpenURLResult::notAURL, {}},
  };
  for (const Row& row : rows) {
    DesktopLog log;
    SimSystem system(log);
    system.setOpensURLs(row.opens);
    EXPECT_EQ(system.openURL(row.address), row.result) << row.address;
    EXPECT_EQ(log.output(), row.shown) << row.address;
  }
}

TEST(SimSystemTest, ThePromptAppearsOnlyWhileUntrustedAndPreferencesReadAsStored) {
  DesktopLog log;
  SimSystem system(log);
  EXPECT_TRUE(readNaturalScrollEnabled(system)) << "a new desktop stores true";
  system.setNaturalScrollPreference(std::int64_t{0});
  EXPECT_EQ(system.copyPreferenceValue(std::string(naturalScrollPreferenceKey),
                                       PreferenceApplication::anyApplication,
                                       PreferenceUser::currentUser, PreferenceHost::anyHost),
            PreferenceValue(std::int64_t{0}));
  system.setNaturalScrollPreference(std::monostate{});
  EXPECT_EQ(system.copyPreferenceValue(std::string(naturalScrollPreferenceKey),
                                       PreferenceApplication::anyApplication,
                                       PreferenceUser::currentUser, PreferenceHost::anyHost),
            PreferenceValue{});

  EXPECT_FALSE(system.isProcessTrustedWithOptions(true));
  system.setTrusted(true);
  EXPECT_TRUE(system.isProcessTrustedWithOptions(true));
  EXPECT_EQ(log.output(), std::vector<std::string>{"system: accessibility prompt"});
}

}  // namespace
}  // namespace wheelright::sim
