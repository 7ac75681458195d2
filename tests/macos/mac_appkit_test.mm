// The application's menu rendered into a real NSMenu and chosen through it, the menu-bar and
// alert symbols, a real menu-bar item shown and removed, and alerts run and answered.

#import <AppKit/AppKit.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "menubar/menu_content.h"
#include "menubar/wheelright_app.h"
#include "platform/macos/mac_objects.h"
#include "platform/macos/mac_services.h"
#include "platform/macos/objc_bridge.h"
#include "platform/sim/sim_localizer.h"

namespace wheelright {
namespace {

// One line per item: check mark, title, and what makes it differ from a plain enabled item.
std::vector<std::string> describe(NSMenu* menu) {
  std::vector<std::string> lines;
  for (NSMenuItem* item in menu.itemArray) {
    if (item.separatorItem) {
      lines.push_back("---");
      continue;
    }
    std::string line =
        (item.state == NSControlStateValueOn ? "[x] " : "") + toStdString(item.title);
    if (!item.enabled) line += " (disabled)";
    if (item.keyEquivalent.length > 0) {
      const bool commandOnly = item.keyEquivalentModifierMask == NSEventModifierFlagCommand;
      line += (commandOnly ? " cmd-" : " ?-") + toStdString(item.keyEquivalent);
    }
    lines.push_back(line);
  }
  return lines;
}

// The texts the menus below show: the Korean table, whatever language this Mac prefers.
const Localizer& korean() {
  static const sim::SimLocalizer localizer =
      sim::SimLocalizer::open(WHEELRIGHT_LOCALIZATION_DIR, "ko").value();
  return localizer;
}

MenuOperations loggingOperations(std::vector<std::string>& log) {
  const auto setter = [&log](const char* name) {
    return
        [&log, name](bool value) { log.push_back(std::string(name) + (value ? " on" : " off")); };
  };
  const auto action = [&log](const char* name) { return [&log, name] { log.emplace_back(name); }; };
  return {setter("enabled"),       setter("vertical"), setter("horizontal"),
          setter("smooth"),        setter("login"),    action("open scroll settings"),
          action("accessibility"), action("quit")};
}

TEST(MacMenu, EntriesBecomeItemsThatRunTheirOperationAfterThePoolDrains) {
  std::vector<std::string> log;
  NSMenu* menu = [[NSMenu alloc] initWithTitle:@""];
  @autoreleasepool {
    MenuValues values{AppModel::Status::permissionRequired(), false, true, true, false, false};
    fillMenu(menu, menuEntries(values, loggingOperations(log), korean()));
  }
  EXPECT_EQ(
      describe(menu),
      (std::vector<std::string>{
          "⚠️ 손쉬운 사용 권한 필요 (disabled)", "---", "[x] Wheelright 활성화",
          "[x] 마우스 세로 스크롤 반전", "마우스 가로 스크롤 반전", "부드러운 휠 호환 모드", "---",
          "손쉬운 사용 권한 설정…", "---", "로그인 시 실행", "---", "Wheelright 종료 cmd-q"}));
  for (NSInteger i = 0; i < menu.numberOfItems; ++i) {
    if ([menu itemAtIndex:i].enabled) [menu performActionForItemAtIndex:i];
  }
  EXPECT_EQ(log, (std::vector<std::string>{"enabled off", "vertical off", "horizontal on",
                                           "smooth on", "accessibility", "login on", "quit"}));

  // A rebuild replaces every item.
  MenuValues paused{AppModel::Status::paused(), true, false, false, true, true};
  fillMenu(menu, menuEntries(paused, loggingOperations(log), korean()));
  EXPECT_EQ(describe(menu),
            (std::vector<std::string>{"일시 정지 (disabled)", "---", "Wheelright 활성화",
                                      "마우스 세로 스크롤 반전", "[x] 마우스 가로 스크롤 반전",
                                      "[x] 부드러운 휠 호환 모드", "---", "[x] 로그인 시 실행",
                                      "---", "Wheelright 종료 cmd-q"}));
}

TEST(MacSymbols, EveryStatusSymbolAndTheChecklistAreTemplateImages) {
  std::vector<StatusLabel> labels;
  for (const AppModel::Status& status :
       {AppModel::Status::active(), AppModel::Status::paused(),
        AppModel::Status::naturalScrollRequired(), AppModel::Status::permissionRequired(),
        AppModel::Status::error("x")}) {
    labels.push_back(menuBarLabel(status));
  }
  labels.push_back({"Wheelright 설정 체크리스트", "checklist"});
  for (const StatusLabel& label : labels) {
    NSImage* image = statusBarImage(label);
    ASSERT_NE(image, nil) << label.symbolName;
    EXPECT_TRUE([image isTemplate]) << label.symbolName;
  }
  EXPECT_EQ(statusBarImage({"Wheelright", "no.such.symbol.wheelright"}), nil);
}

TEST(MacStatusItem, AnItemIsShownWithItsLabelAndMenuAndRemoved) {
  const std::shared_ptr<StatusItem> statusItem = makeMacStatusItem();
  EXPECT_EQ(statusBarItem(*statusItem), nil);
  StatusLabel label{"Wheelright", "arrow.up.and.down.circle.fill"};
  std::vector<MenuEntry> entries{MenuText{"작동 중"}, MenuSeparator{},
                                 MenuAction{"종료", [] {}, {}}};
  const auto token = std::make_shared<int>(0);  // held by a provider: tells when they are dropped
  statusItem->show([&label, token] { return label; }, [&entries] { return entries; });

  NSStatusItem* item = statusBarItem(*statusItem);
  ASSERT_NE(item, nil);
  EXPECT_TRUE(item.visible);
  EXPECT_TRUE([item.button.image isTemplate]);
  EXPECT_EQ(toStdString(item.button.title), "");
  EXPECT_EQ(toStdString(item.button.accessibilityTitle), "Wheelright");
  EXPECT_EQ(item.menu.numberOfItems, 0) << "filled when it opens";

  // Filled just before it opens; refilled on a change only while it is open.
  [item.menu.delegate menuNeedsUpdate:item.menu];
  EXPECT_EQ(describe(item.menu), (std::vector<std::string>{"작동 중 (disabled)", "---", "종료"}));
  entries.push_back(MenuSwitch{"로그인 시 실행", true, [](bool) {}});
  statusItem->setNeedsUpdate();
  EXPECT_EQ(item.menu.numberOfItems, 3) << "closed: left for the next opening";
  [item.menu.delegate menuWillOpen:item.menu];
  statusItem->setNeedsUpdate();
  EXPECT_EQ(describe(item.menu).back(), "[x] 로그인 시 실행");
  [item.menu.delegate menuDidClose:item.menu];

  // The label is set when it differs: a title put in by hand stays until the label changes.
  item.button.title = @"untouched";
  statusItem->setNeedsUpdate();
  EXPECT_EQ(toStdString(item.button.title), "untouched");
  label = {"Wheelright 오류", "no.such.symbol.wheelright"};
  statusItem->setNeedsUpdate();
  EXPECT_EQ(item.button.image, nil);
  EXPECT_EQ(toStdString(item.button.title), "Wheelright 오류");

  statusItem->remove();
  EXPECT_EQ(statusBarItem(*statusItem), nil);
  EXPECT_EQ(token.use_count(), 1);
}

// AppKit promises the content set on an alert and the response of each button, by its order
// (NSAlertFirstButtonReturn, then one more each); that is all the application relies on.
TEST(MacAlerts, AlertsCarryTheirContentAndAnswerByButtonOrder) {
  const struct {
    AlertStyle style;
    NSAlertStyle expected;
    std::vector<std::string> buttons;
    std::size_t pressed;
  } rows[] = {
      {AlertStyle::warning,
       NSAlertStyleWarning,
       {"1번 스크롤 설정 열기", "2번 손쉬운 사용 설정 열기", "나중에"},
       2},
      {AlertStyle::informational, NSAlertStyleInformational, {"완료"}, 0},
      {AlertStyle::critical, NSAlertStyleCritical, {"a", "b"}, 1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.buttons[row.pressed]);
    const AlertContent content{
        row.style,   "Wheelright 사용 준비",       "1. 자연스러운 스크롤 켜기  ✅ 완료",
        "checklist", "Wheelright 설정 체크리스트", row.buttons};
    NSAlert* alert = makeAlert(content);
    EXPECT_EQ(alert.alertStyle, row.expected);
    EXPECT_EQ(toStdString(alert.messageText), content.messageText);
    EXPECT_EQ(toStdString(alert.informativeText), content.informativeText);
    EXPECT_EQ(toStdString(alert.icon.accessibilityDescription),
              content.iconAccessibilityDescription);
    ASSERT_EQ(alert.buttons.count, row.buttons.size());
    for (NSUInteger i = 0; i < alert.buttons.count; ++i) {
      EXPECT_EQ(toStdString(alert.buttons[i].title), row.buttons[i]);
    }

    // The timer fires only in the modal panel mode, which is the alert's modal session.
    NSButton* button = alert.buttons[row.pressed];
    NSTimer* press = [NSTimer timerWithTimeInterval:0.02
                                            repeats:NO
                                              block:^(NSTimer*) {
                                                [button performClick:nil];
                                              }];
    [NSRunLoop.currentRunLoop addTimer:press forMode:NSModalPanelRunLoopMode];
    EXPECT_EQ([alert runModal], NSAlertFirstButtonReturn + static_cast<long>(row.pressed));
  }
}

}  // namespace
}  // namespace wheelright
