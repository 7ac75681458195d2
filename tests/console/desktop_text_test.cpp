#include "console/desktop_text.h"

#include <gtest/gtest.h>

#include "menubar/menu_content.h"
#include "model/app_model.h"
#include "platform/sim/sim_desktop.h"

namespace wheelright::console {
namespace {

using Lines = std::vector<std::string>;

// The menu of each status is in the transcripts; here, what they do not show: each switch shows
// its own value, and an error text stands exactly as stored.
TEST(MenuLines, SwitchesShowTheirOwnValuesAndTheErrorTextStandsAsStored) {
  const MenuValues values{AppModel::Status::error("  two\nlines "), true, false, true, false, true};
  EXPECT_EQ(menuLines({"Wheelright", "xmark.circle"},
                      menuEntries(values, {}, sim::SimDesktop::create()->localizer())),
            (Lines{"menu: xmark.circle Wheelright", "  오류", "    two\nlines ", "  ---",
                   "  1 [ ] Wheelright 활성화", "  2 [x] 마우스 세로 스크롤 반전",
                   "  3 [ ] 마우스 가로 스크롤 반전", "  4 [x] 부드러운 휠 호환 모드", "  ---",
                   "  5 [x] 로그인 시 실행", "  ---", "  6 Wheelright 종료 (cmd-q)"}));
}

}  // namespace
}  // namespace wheelright::console
