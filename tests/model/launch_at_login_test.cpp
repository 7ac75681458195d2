#include <gtest/gtest.h>

#include "model/model_fixture.h"
#include "model/system_probes.h"

namespace wheelright {
namespace {

using testing::CallLog;
using testing::ModelTest;

TEST_F(ModelTest, LaunchAtLoginRows) {
  struct Row {
    const char* name;
    LoginItemStatus before;
    bool requested;
    std::optional<std::string> failure;
    LoginItemStatus afterRegister;
    const char* call;  // the registration call made, if any
    bool expectEnabled;
    std::optional<std::string> expectError;
  };
  const Row rows[] = {
      {"on while enabled", LoginItemStatus::enabled, true, {}, LoginItemStatus::enabled, nullptr, true, {}},
      {"on while not registered", LoginItemStatus::notRegistered, true, {}, LoginItemStatus::enabled,
       "register", true, {}},
      {"on while waiting for approval", LoginItemStatus::requiresApproval, true, {},
       LoginItemStatus::requiresApproval, "register", false, {}},
      {"on while not found", LoginItemStatus::notFound, true, {}, LoginItemStatus::enabled, "register", true, {}},
      {"on, registration fails", LoginItemStatus::notRegistered, true, "Operation not permitted",
       LoginItemStatus::enabled, "register", false, "Operation not permitted"},
      {"off while enabled", LoginItemStatus::enabled, false, {}, LoginItemStatus::enabled, "unregister", false, {}},
      {"off, unregistration fails", LoginItemStatus::enabled, false, "Nope", LoginItemStatus::enabled,
       "unregister", true, "Nope"},
      {"off while waiting for approval", LoginItemStatus::requiresApproval, false, {},
       LoginItemStatus::enabled, nullptr, false, {}},
      {"off while not registered", LoginItemStatus::notRegistered, false, {}, LoginItemStatus::enabled,
       nullptr, false, {}},
  };
  launch();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    fake.system->loginStatus = row.before;
    fake.system->statusAfterRegister = row.afterRegister;
    fake.system->nextLoginFailure = row.failure;
    std::vector<std::string> announced;
    auto token = model->objectWillChange.subscribe([&] { announced.push_back("willChange"); });
    fake.take();
    model->setLaunchAtLogin(row.requested);
    model->objectWillChange.unsubscribe(token);
    CallLog expected = {"loginStatus"};
    if (row.call) expected.push_back(row.call);
    expected.push_back("loginStatus");  // read back after the attempt
    EXPECT_EQ(fake.take(), expected);
    EXPECT_EQ(model->launchAtLoginEnabled(), row.expectEnabled);
    EXPECT_EQ(model->launchAtLoginError(), row.expectError);
    // Error cleared, enabled set, then the failure text if any.
    EXPECT_EQ(announced.size(), row.failure ? 3u : 2u);
  }
}

TEST_F(ModelTest, AFailureThenASuccessClearsTheError) {
  launch();
  fake.system->nextLoginFailure = "denied";
  model->setLaunchAtLogin(true);
  EXPECT_EQ(model->launchAtLoginError(), "denied");
  EXPECT_FALSE(model->launchAtLoginEnabled());
  model->setLaunchAtLogin(true);
  EXPECT_EQ(model->launchAtLoginError(), std::nullopt);
  EXPECT_TRUE(model->launchAtLoginEnabled());
}

TEST_F(ModelTest, TheLoginItemIsReadAtLaunch) {
  fake.system->loginStatus = LoginItemStatus::enabled;
  launch();
  EXPECT_TRUE(model->launchAtLoginEnabled());
  fake.system->loginStatus = LoginItemStatus::notRegistered;
  model->refreshStatus();
  EXPECT_TRUE(model->launchAtLoginEnabled()) << "not polled";
}

}  // namespace
}  // namespace wheelright
