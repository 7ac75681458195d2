#include "menubar/menu_content.h"

#include <gtest/gtest.h>

#include "support/desktop_test.h"

namespace wheelright {
namespace {

using namespace testing;

// The menus and their choices are in the transcripts. What they cannot reach: a platform menu
// keeps its entries until the next build, so entries may outlive the model and its settings; then
// they change nothing, and Quit still quits.
TEST_F(DesktopTest, EntriesThatOutliveTheModelChangeNothingAndQuitStillQuits) {
  system().setTrusted(true);
  launch();
  const std::vector<MenuEntry> kept =
      MenuBarContentView(model, settings, desktop->platform().system, desktop->platform().localizer)
          .entries();
  const auto storedBefore = desktop->userDefaultsStore().storedValues();
  settings.reset();
  model.reset();
  for (const MenuEntry& entry : kept) {
    if (const auto* item = std::get_if<MenuSwitch>(&entry)) item->setValue(!item->isOn);
  }
  EXPECT_EQ(desktop->userDefaultsStore().storedValues(), storedBefore);
  EXPECT_EQ(system().mainAppServiceStatus(), LoginItemStatus::notRegistered);
  entryLabelled<MenuAction>(kept, "Wheelright 종료").perform();
  EXPECT_TRUE(system().isTerminated());
}

// The sim's updater can always check; Sparkle's cannot before it has started or while the user's
// check runs, and then the entry stays in its place, disabled (nothing to run).
TEST_F(DesktopTest, TheUpdateEntryRunsOnlyWhileACheckCanStart) {
  int checks = 0;
  MenuOperations operations;
  operations.checkForUpdates = [&checks] { ++checks; };
  for (const bool canCheck : {false, true}) {
    MenuValues values;
    values.canCheckForUpdates = canCheck;
    const std::vector<MenuEntry> entries = menuEntries(values, operations, desktop->localizer());
    const MenuAction entry = entryLabelled<MenuAction>(entries, "업데이트 확인…");
    EXPECT_EQ(static_cast<bool>(entry.perform), canCheck);
    if (entry.perform) entry.perform();
  }
  EXPECT_EQ(checks, 1);
}

}  // namespace
}  // namespace wheelright
