#include "menubar/menu_content.h"

#include <gtest/gtest.h>

#include "menubar/menu_test_support.h"
#include "model/model_fixture.h"
#include "model/system_probes.h"

namespace wheelright {
namespace {

using Status = AppModel::Status;
using testing::describe;
using testing::entryLabelled;
using Lines = std::vector<std::string>;

const Lines switches = {"[x] Wheelright 활성화", "[x] 마우스 세로 스크롤 반전", "[ ] 마우스 가로 스크롤 반전",
                        "[ ] 부드러운 휠 호환 모드"};

Lines menu(std::initializer_list<Lines> parts) {
  Lines all;
  for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

TEST(MenuContent, TheFiveMenus) {
  const Lines tail = {"---", "[ ] 로그인 시 실행", "---", "action Wheelright 종료 (cmd-q)"};
  const std::string message = "스크롤 이벤트 감시를 시작하지 못했습니다. 손쉬운 사용 권한을 확인해 주세요.";
  struct Row {
    Status status;
    Lines expected;
  };
  const Row rows[] = {
      {Status::active(), menu({{"text 작동 중", "---"}, switches, tail})},
      {Status::paused(), menu({{"text 일시 정지", "---"}, switches, tail})},
      {Status::naturalScrollRequired(),
       menu({{"text 자연스러운 스크롤을 켜 주세요", "---",
              "text macOS의 자연스러운 스크롤이 꺼져 있어 기능을 일시 중지했습니다.", "action 스크롤 설정 열기…", "---"},
             switches, tail})},
      {Status::permissionRequired(),
       menu({{"text ⚠️ 손쉬운 사용 권한 필요", "---"}, switches, {"---", "action 손쉬운 사용 권한 설정…"}, tail})},
      {Status::error(message), menu({{"text 오류", "text " + message, "---"}, switches, tail})},
      // Whatever the message, it is repeated verbatim, blanks and line breaks included.
      {Status::error("  two\nlines "), menu({{"text 오류", "text   two\nlines ", "---"}, switches, tail})},
      {Status::error(""), menu({{"text 오류", "text ", "---"}, switches, tail})},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(statusTitle(row.status));
    MenuValues values{row.status, false, true, true, false, false};
    EXPECT_EQ(describe(menuEntries(values, {})), row.expected);
  }
}

TEST(MenuContent, SwitchValuesAndTheOnlyKeyEquivalent) {
  struct Row {
    bool login, enabled, vertical, horizontal, smooth;
  };
  for (const Row row : {Row{true, false, false, true, true}, Row{false, true, true, false, false},
                        Row{true, true, true, true, true}}) {
    const MenuValues values{Status::active(), row.login, row.enabled, row.vertical, row.horizontal, row.smooth};
    const auto entries = menuEntries(values, {});
    EXPECT_EQ(entryLabelled<MenuSwitch>(entries, "로그인 시 실행").isOn, row.login);
    EXPECT_EQ(entryLabelled<MenuSwitch>(entries, "Wheelright 활성화").isOn, row.enabled);
    EXPECT_EQ(entryLabelled<MenuSwitch>(entries, "마우스 세로 스크롤 반전").isOn, row.vertical);
    EXPECT_EQ(entryLabelled<MenuSwitch>(entries, "마우스 가로 스크롤 반전").isOn, row.horizontal);
    EXPECT_EQ(entryLabelled<MenuSwitch>(entries, "부드러운 휠 호환 모드").isOn, row.smooth);
  }
  for (const Status& status : {Status::active(), Status::paused(), Status::naturalScrollRequired(),
                               Status::permissionRequired(), Status::error("x")}) {
    int withKey = 0;
    int prefixes = 0;
    for (const MenuEntry& entry : menuEntries({status}, {})) {
      if (const auto* action = std::get_if<MenuAction>(&entry); action && action->keyEquivalent) {
        ++withKey;
        EXPECT_EQ(action->label, "Wheelright 종료");
        EXPECT_EQ(*action->keyEquivalent, (KeyEquivalent{'q', KeyModifier::command}));
      }
      if (const auto* text = std::get_if<MenuText>(&entry)) {
        for (auto at = text->text.find("⚠️"); at != std::string::npos; at = text->text.find("⚠️", at + 1)) ++prefixes;
      }
    }
    EXPECT_EQ(withKey, 1);
    EXPECT_EQ(prefixes, status == Status::permissionRequired() ? 1 : 0);
  }
}

TEST(MenuContent, StatusTitles) {
  EXPECT_EQ(statusTitle(Status::active()), "작동 중");
  EXPECT_EQ(statusTitle(Status::paused()), "일시 정지");
  EXPECT_EQ(statusTitle(Status::naturalScrollRequired()), "자연스러운 스크롤을 켜 주세요");
  EXPECT_EQ(statusTitle(Status::permissionRequired()), "손쉬운 사용 권한 필요");
  EXPECT_EQ(statusTitle(Status::error("a")), "오류");
  EXPECT_EQ(statusTitle(Status::error("b")), "오류");
  EXPECT_STREQ(permissionRequiredPrefix, "⚠️ ");
}

class MenuBarContentViewTest : public testing::ModelTest {
 protected:
  std::vector<MenuEntry> entries() const {
    return MenuBarContentView(model, model->sharedSettings(), fake.system).entries();
  }
};

TEST_F(MenuBarContentViewTest, DirectBindingsWriteTheSettingsAndNothingElse) {
  fake.system->trusted = true;
  launch();
  struct Row {
    const char* label;
    bool (AppSettings::*get)() const;
    const char* key;
  };
  const Row rows[] = {
      {"마우스 세로 스크롤 반전", &AppSettings::reverseVertical, "reverseVertical"},
      {"마우스 가로 스크롤 반전", &AppSettings::reverseHorizontal, "reverseHorizontal"},
      {"부드러운 휠 호환 모드", &AppSettings::treatContinuousWithoutPhaseAsMouse,
       "treatContinuousWithoutPhaseAsMouse"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    const bool before = ((*settings).*row.get)();
    const auto menu = entries();
    const MenuSwitch& entry = entryLabelled<MenuSwitch>(menu, row.label);
    EXPECT_EQ(entry.isOn, before);
    fake.take();
    entry.setValue(!entry.isOn);
    EXPECT_EQ(((*settings).*row.get)(), !before);
    EXPECT_EQ(fake.take(), testing::CallLog{std::string("setBool ") + row.key + "=" + (before ? "false" : "true")})
        << "no re-evaluation, no tap restart";
    EXPECT_EQ(model->status(), Status::active());
    EXPECT_EQ(entryLabelled<MenuSwitch>(entries(), row.label).isOn, !before);
  }
}

TEST_F(MenuBarContentViewTest, TheEnableSwitchGoesThroughTheModel) {
  fake.system->trusted = true;
  launch();
  entryLabelled<MenuSwitch>(entries(), "Wheelright 활성화").setValue(false);
  // Status and tap have followed before the setter returned.
  EXPECT_EQ(model->status(), Status::paused());
  EXPECT_FALSE(tapRunning());
  EXPECT_EQ(describe(entries()).front(), "text 일시 정지");
  entryLabelled<MenuSwitch>(entries(), "Wheelright 활성화").setValue(true);
  EXPECT_EQ(model->status(), Status::active());
  EXPECT_TRUE(tapRunning());
}

TEST_F(MenuBarContentViewTest, TheLoginSwitchShowsTheStateReadBack) {
  launch();
  fake.system->nextLoginFailure = "not allowed";
  entryLabelled<MenuSwitch>(entries(), "로그인 시 실행").setValue(true);
  EXPECT_FALSE(entryLabelled<MenuSwitch>(entries(), "로그인 시 실행").isOn);
  for (const auto& line : describe(entries())) EXPECT_EQ(line.find("not allowed"), std::string::npos);
  EXPECT_EQ(model->launchAtLoginError(), "not allowed");

  fake.system->statusAfterRegister = LoginItemStatus::requiresApproval;
  entryLabelled<MenuSwitch>(entries(), "로그인 시 실행").setValue(true);
  EXPECT_FALSE(entryLabelled<MenuSwitch>(entries(), "로그인 시 실행").isOn) << "asked for on, shows off";

  fake.system->statusAfterRegister = LoginItemStatus::enabled;
  entryLabelled<MenuSwitch>(entries(), "로그인 시 실행").setValue(true);
  EXPECT_TRUE(entryLabelled<MenuSwitch>(entries(), "로그인 시 실행").isOn);
}

TEST_F(MenuBarContentViewTest, Actions) {
  fake.system->naturalScroll = false;
  launch();
  fake.take();
  entryLabelled<MenuAction>(entries(), "스크롤 설정 열기…").perform();
  EXPECT_EQ(fake.take(), testing::CallLog{"openURL " + std::string(trackpadPaneAddress)});
  EXPECT_EQ(model->status(), Status::naturalScrollRequired()) << "the notice stays until the next poll";

  fake.system->naturalScroll = true;
  tick();
  ASSERT_EQ(model->status(), Status::permissionRequired());
  fake.take();
  entryLabelled<MenuAction>(entries(), "손쉬운 사용 권한 설정…").perform();
  const auto log = fake.take();
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[0], "trustPrompt");
  EXPECT_EQ(log[1], "openURL " + std::string(accessibilityPaneAddress));

  entryLabelled<MenuAction>(entries(), "Wheelright 종료").perform();
  EXPECT_EQ(fake.take(), testing::CallLog{"terminate"});
}

TEST_F(MenuBarContentViewTest, EntriesOutlivingTheModelDoNothing) {
  launch();
  const auto kept = entries();
  MenuBarContentView view(model, model->sharedSettings(), fake.system);
  settings.reset();
  model.reset();
  EXPECT_TRUE(view.entries().empty());
  fake.take();
  entryLabelled<MenuSwitch>(kept, "Wheelright 활성화").setValue(false);
  entryLabelled<MenuSwitch>(kept, "마우스 세로 스크롤 반전").setValue(false);
  entryLabelled<MenuSwitch>(kept, "로그인 시 실행").setValue(true);
  EXPECT_TRUE(fake.take().empty());
}

}  // namespace
}  // namespace wheelright
