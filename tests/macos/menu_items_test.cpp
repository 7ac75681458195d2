#include "platform/macos/menu_items.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace wheelright {
namespace {

using Kind = MenuItemSpec::Kind;

TEST(MacMenuItems, EachEntryKindLooksAsItShould) {
  std::optional<bool> written;
  const auto note = [&written](bool value) { written = value; };
  const auto run = [] {};
  struct Row {
    const char* name;
    MenuEntry entry;
    Kind kind;
    std::string title;
    bool isChecked, isEnabled;
    std::string key;
    bool command;
  };
  const std::vector<Row> rows = {
      {"text line", MenuText{"작동 중"}, Kind::item, "작동 중", false, false, "", false},
      {"separator", MenuSeparator{}, Kind::separator, "", false, false, "", false},
      {"switch on", MenuSwitch{"마우스 세로 스크롤 반전", true, note}, Kind::item,
       "마우스 세로 스크롤 반전", true, true, "", false},
      {"switch off", MenuSwitch{"로그인 시 실행", false, note}, Kind::item, "로그인 시 실행", false,
       true, "", false},
      {"switch without write-back", MenuSwitch{"x", true, nullptr}, Kind::item, "x", true, false,
       "", false},
      {"action", MenuAction{"스크롤 설정 열기…", run, std::nullopt}, Kind::item,
       "스크롤 설정 열기…", false, true, "", false},
      {"action with Command-Q", MenuAction{"Wheelright 종료", run, KeyEquivalent{'q'}},
       Kind::item, "Wheelright 종료", false, true, "q", true},
      {"action without operation", MenuAction{"y", nullptr, std::nullopt}, Kind::item, "y", false,
       false, "", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const std::vector<MenuItemSpec> specs = menuItemSpecs({row.entry});  // the entry goes
    ASSERT_EQ(specs.size(), 1u);
    const MenuItemSpec& spec = specs.front();
    EXPECT_EQ(spec.kind, row.kind);
    EXPECT_EQ(spec.title, row.title);
    EXPECT_EQ(spec.isChecked, row.isChecked);
    EXPECT_EQ(spec.isEnabled, row.isEnabled);
    EXPECT_EQ(spec.keyEquivalent, row.key);
    EXPECT_EQ(spec.usesCommandModifier, row.command);
    // An item that looks choosable must do something, and one that does not must do nothing.
    EXPECT_EQ(static_cast<bool>(spec.choose), row.isEnabled);
    written.reset();
    if (spec.choose) spec.choose();
    if (std::holds_alternative<MenuSwitch>(row.entry) && row.isEnabled) {
      EXPECT_EQ(written, !row.isChecked) << "a switch writes the opposite of what it shows";
    }
  }
}

}  // namespace
}  // namespace wheelright
