// The application's menu rendered into a real NSMenu and chosen through it, the menu-bar and
// alert symbols, a real menu-bar item shown and removed, and alerts run and answered.

#import <AppKit/AppKit.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "menubar/wheelright_app.h"
#include "platform/macos/mac_objects.h"
#include "platform/macos/mac_services.h"
#include "platform/macos/objc_bridge.h"

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

TEST(MacMenu, EntriesBecomeItemsThatRunTheirOperationAfterThePoolDrains) {
  std::vector<std::string> log;
  const auto note = [&log](const char* name) {
    return
        [&log, name](bool value) { log.push_back(std::string(name) + (value ? " on" : " off")); };
  };
  NSMenu* menu = [[NSMenu alloc] initWithTitle:@""];
  @autoreleasepool {
    fillMenu(menu,
             {MenuText{"작동 중"}, MenuSeparator{}, MenuSwitch{"세로", true, note("vertical")},
              MenuSwitch{"가로", false, note("horizontal")}, MenuSwitch{"고정", true, nullptr},
              MenuAction{"종료", [&log] { log.emplace_back("quit"); }, KeyEquivalent{'q'}}});
  }
  EXPECT_EQ(describe(menu),
            (std::vector<std::string>{"작동 중 (disabled)", "---", "[x] 세로", "가로",
                                      "[x] 고정 (disabled)", "종료 cmd-q"}));
  for (NSInteger i = 0; i < menu.numberOfItems; ++i) {
    if ([menu itemAtIndex:i].enabled) [menu performActionForItemAtIndex:i];
  }
  EXPECT_EQ(log, (std::vector<std::string>{"vertical off", "horizontal on", "quit"}));

  fillMenu(menu, {MenuText{"일시 정지"}});
  EXPECT_EQ(describe(menu), std::vector<std::string>{"일시 정지 (disabled)"})
      << "every item replaced";
}

TEST(MacSymbols, EveryStatusSymbolAndTheChecklistAreTemplateImages) {
  using S = AppModel::Status;
  for (const StatusLabel& label :
       {menuBarLabel(S::active()), menuBarLabel(S::paused()),
        menuBarLabel(S::naturalScrollRequired()), menuBarLabel(S::permissionRequired()),
        menuBarLabel(S::error("x")), StatusLabel{"Wheelright 설정 체크리스트", "checklist"}}) {
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

  // A symbol the system lacks: the label's text instead.
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
TEST(MacAlerts, AnAlertCarriesItsContentAndAnswersByButtonOrder) {
  const AlertContent content{
      AlertStyle::warning, "Wheelright 사용 준비",       "1. 자연스러운 스크롤 켜기  ✅ 완료",
      "checklist",         "Wheelright 설정 체크리스트", {"1번 스크롤 설정 열기", "2번", "나중에"}};
  NSAlert* alert = makeAlert(content);
  EXPECT_EQ(alert.alertStyle, NSAlertStyleWarning);
  EXPECT_EQ(toStdString(alert.messageText), content.messageText);
  EXPECT_EQ(toStdString(alert.informativeText), content.informativeText);
  EXPECT_EQ(toStdString(alert.icon.accessibilityDescription), content.iconAccessibilityDescription);
  ASSERT_EQ(alert.buttons.count, 3u);
  for (NSUInteger i = 0; i < alert.buttons.count; ++i) {
    EXPECT_EQ(toStdString(alert.buttons[i].title), content.buttonTitles[i]);
  }
  // The timer fires only in the modal panel mode, which is the alert's modal session.
  NSButton* last = alert.buttons[2];
  NSTimer* press = [NSTimer timerWithTimeInterval:0.02
                                          repeats:NO
                                            block:^(NSTimer*) {
                                              [last performClick:nil];
                                            }];
  [NSRunLoop.currentRunLoop addTimer:press forMode:NSModalPanelRunLoopMode];
  EXPECT_EQ([alert runModal], NSAlertFirstButtonReturn + 2);
}

}  // namespace
}  // namespace wheelright
