#include "menubar/menu_content.h"

#include <gtest/gtest.h>

#include "model/system_probes.h"
#include "support/desktop_test.h"

namespace wheelright {
namespace {

using namespace testing;

class MenuTest : public DesktopTest {
 protected:
  std::vector<MenuEntry> entries() {
    return MenuBarContentView(model, model->sharedSettings(), desktop->platform().system,
                              desktop->platform().localizer)
        .entries();
  }
  void choose(const std::string& label) {
    const auto menu = entries();
    const MenuSwitch& entry = entryLabelled<MenuSwitch>(menu, label);
    entry.setValue(!entry.isOn);
  }
  bool isOn(const std::string& label) { return entryLabelled<MenuSwitch>(entries(), label).isOn; }
};

TEST_F(MenuTest, TheRewritingSwitchesWriteTheSettingsAndNothingElse) {
  system().setTrusted(true);
  launch();
  const std::pair<const char*, const char*> rows[] = {
      {"마우스 세로 스크롤 반전", "reverseVertical=false"},
      {"마우스 가로 스크롤 반전", "reverseHorizontal=true"},
      {"부드러운 휠 호환 모드", "treatContinuousWithoutPhaseAsMouse=true"}};
  for (const auto& [label, stored] : rows) {
    take();
    choose(label);
    EXPECT_EQ(take(), Lines{std::string("setBool ") + stored}) << "no re-evaluation, no restart";
    EXPECT_EQ(isOn(label), std::string(stored).ends_with("true"));
  }
  EXPECT_EQ(settings->configuration(), (ScrollConfiguration{false, true, true}));
  EXPECT_EQ(model->status(), Status::active());
}

TEST_F(MenuTest, ActionsAndEntriesThatOutliveTheModel) {
  system().setNaturalScrollPreference(false);
  launch();
  take();
  entryLabelled<MenuAction>(entries(), "스크롤 설정 열기…").perform();
  EXPECT_EQ(take(), Lines{"openURL " + std::string(trackpadPaneAddress)}) << "no re-evaluation";

  system().setNaturalScrollPreference(true);
  poll();
  take();
  entryLabelled<MenuAction>(entries(), "손쉬운 사용 권한 설정…").perform();
  EXPECT_EQ(take().front(), "isProcessTrustedWithOptions prompt=true");

  const auto kept = entries();
  settings.reset();
  model.reset();
  take();
  for (const char* label : {"Wheelright 활성화", "마우스 세로 스크롤 반전", "로그인 시 실행"}) {
    entryLabelled<MenuSwitch>(kept, label).setValue(false);
  }
  EXPECT_TRUE(take().empty());
  entryLabelled<MenuAction>(kept, "Wheelright 종료").perform();
  EXPECT_EQ(take(), Lines{"terminate"});
}

}  // namespace
}  // namespace wheelright
