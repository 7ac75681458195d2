#include <gtest/gtest.h>

#include "support/desktop_test.h"

namespace wheelright {
namespace {

using namespace testing;

// The rows run one after another on one model, so each also shows that the previous row's
// error text was cleared. The launch_at_login transcript registers and unregisters plainly.
TEST_F(DesktopTest, LaunchAtLoginShowsTheStateReadBackAndThePlatformsErrorText) {
  const auto enabled = LoginItemStatus::enabled, notRegistered = LoginItemStatus::notRegistered,
             approval = LoginItemStatus::requiresApproval;
  // The status before, the switch requested, the change's failure, the status a registration
  // leaves, what the system says (if anything), and the switch shown after. Only a registration
  // refused for want of the user's approval opens Login Items.
  const char* const denied = "denied";
  const std::tuple<LoginItemStatus, bool, const char*, LoginItemStatus, const char*, bool>
      rows[] = {
      {enabled, true, nullptr, enabled, nullptr, true},
      {notRegistered, true, "Operation not permitted", enabled, "error: Operation not permitted",
       false},
      {notRegistered, true, denied, enabled, "error: denied", false},
      {approval, true, "Operation not permitted", enabled, "error: Operation not permitted", false},
      {approval, true, nullptr, approval, "registered", false},
      {LoginItemStatus::notFound, true, nullptr, enabled, "registered", true},
      {enabled, false, "Nope", enabled, "error: Nope", true},
      {approval, false, nullptr, enabled, nullptr, false},
      {notRegistered, false, nullptr, enabled, nullptr, false},
  };

  system().setLoginItemStatus(enabled);
  launch();
  EXPECT_TRUE(model->launchAtLoginEnabled()) << "read at launch";
  for (const auto& [before, requested, failure, afterRegister, said, isEnabled] : rows) {
    SCOPED_TRACE(::testing::Message() << static_cast<int>(before) << " requested " << requested);
    system().setLoginItemStatus(before);
    system().setRegisteredStatus(afterRegister);
    if (failure != nullptr) system().failNextLoginItemChange(failure, failure == denied);
    const std::size_t lines = desktop->output().size();
    model->setLaunchAtLogin(requested);
    Lines expected = said ? Lines{std::string("system: login item ") + said} : Lines{};
    if (failure == denied || (failure && before == approval)) {
      expected.push_back("system: opened login items");
    }
    EXPECT_EQ(outputAfter(lines), expected);
    EXPECT_EQ(model->launchAtLoginEnabled(), isEnabled);
    EXPECT_EQ(model->launchAtLoginError(),
              failure ? std::optional<std::string>(failure) : std::nullopt);
  }
  system().setLoginItemStatus(enabled);
  poll();
  EXPECT_FALSE(model->launchAtLoginEnabled()) << "read at launch and after a change, never polled";
}

}  // namespace
}  // namespace wheelright
