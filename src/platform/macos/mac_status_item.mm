// StatusItem over NSStatusItem and NSMenu. As AppKit expects, the menu is filled from the provider
// when it is about to open and refilled on a change only while it is open; the label is set only
// when it differs, so an update that changes nothing costs the bar nothing.

#import <AppKit/AppKit.h>

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "platform/macos/mac_objects.h"
#include "platform/macos/mac_services.h"
#include "platform/macos/menu_items.h"
#include "platform/macos/objc_bridge.h"

// The target of one menu item: runs what choosing it does. The item keeps it alive as its
// represented object, since an item's target is held weakly.
@interface WRMenuChoice : NSObject
- (instancetype)initWithChoice:(std::function<void()>)choose;
- (void)choose:(id)sender;
@end

@implementation WRMenuChoice {
  std::function<void()> _choose;
}

- (instancetype)initWithChoice:(std::function<void()>)choose {
  self = [super init];
  if (self != nil) _choose = std::move(choose);
  return self;
}

- (void)choose:(id)sender {
  (void)sender;
  // Choosing may rebuild the menu and free this item; run from a copy of the closure.
  const std::function<void()> choose = _choose;
  if (choose) choose();
}

@end

// Tells the owner that the menu is about to be shown, and when it opens and closes.
@interface WRMenuDelegate : NSObject <NSMenuDelegate>
- (instancetype)initWithNeedsUpdate:(std::function<void()>)needsUpdate;
- (void)detach;
@property(nonatomic, readonly) BOOL isOpen;
@end

@implementation WRMenuDelegate {
  std::function<void()> _needsUpdate;
}

- (instancetype)initWithNeedsUpdate:(std::function<void()>)needsUpdate {
  self = [super init];
  if (self != nil) _needsUpdate = std::move(needsUpdate);
  return self;
}

- (void)detach {
  _needsUpdate = nullptr;
}

- (void)menuNeedsUpdate:(NSMenu*)menu {
  (void)menu;
  if (_needsUpdate) _needsUpdate();
}

- (void)menuWillOpen:(NSMenu*)menu {
  (void)menu;
  _isOpen = YES;
}

- (void)menuDidClose:(NSMenu*)menu {
  (void)menu;
  _isOpen = NO;
}

@end

namespace wheelright {
namespace {

NSStatusBar* statusBar() { return NSStatusBar.systemStatusBar; }

class MacStatusItem final : public StatusItem {
 public:
  MacStatusItem() = default;
  MacStatusItem(const MacStatusItem&) = delete;
  MacStatusItem& operator=(const MacStatusItem&) = delete;
  ~MacStatusItem() override { remove(); }

  void show(LabelProvider label, MenuProvider menu) override {
    labelProvider_ = std::move(label);
    menuProvider_ = std::move(menu);
    if (item_ == nil) {
      item_ = [statusBar() statusItemWithLength:NSVariableStatusItemLength];
      menu_ = [[NSMenu alloc] initWithTitle:@""];
      delegate_ = [[WRMenuDelegate alloc] initWithNeedsUpdate:[this] { rebuildMenu(); }];
      menu_.delegate = delegate_;
      item_.menu = menu_;
    }
    shownLabel_.reset();
    updateLabel();
  }

  void setNeedsUpdate() override {
    if (item_ == nil) return;
    updateLabel();
    if (delegate_.isOpen) rebuildMenu();
  }

  NSStatusItem* item() const { return item_; }

  void remove() override {
    [delegate_ detach];
    menu_.delegate = nil;
    if (item_ != nil) [statusBar() removeStatusItem:item_];
    item_ = nil;
    menu_ = nil;
    delegate_ = nil;
    labelProvider_ = nullptr;
    menuProvider_ = nullptr;
    shownLabel_.reset();
  }

 private:
  // The bar shows the symbol alone; the title is what VoiceOver reads. Without a symbol the
  // title stands in.
  void updateLabel() {
    if (!labelProvider_) return;
    StatusLabel label = labelProvider_();
    if (label == shownLabel_) return;
    NSString* title = toNSString(label.title);
    NSImage* image = statusBarImage(label);
    NSStatusBarButton* button = item_.button;
    button.image = image;
    button.title = image != nil ? @"" : title;
    [button setAccessibilityTitle:title];
    shownLabel_ = std::move(label);
  }

  void rebuildMenu() {
    if (menu_ == nil || !menuProvider_) return;
    fillMenu(menu_, menuProvider_());
  }

  LabelProvider labelProvider_;
  MenuProvider menuProvider_;
  std::optional<StatusLabel> shownLabel_;
  NSStatusItem* item_ = nil;
  NSMenu* menu_ = nil;
  WRMenuDelegate* delegate_ = nil;
};

NSMenuItem* makeItem(MenuItemSpec& spec) {
  if (spec.kind == MenuItemSpec::Kind::separator) return [NSMenuItem separatorItem];
  NSMenuItem* item = [[NSMenuItem alloc] initWithTitle:toNSString(spec.title)
                                                action:nil
                                         keyEquivalent:toNSString(spec.keyEquivalent)];
  item.keyEquivalentModifierMask =
      spec.usesCommandModifier ? NSEventModifierFlagCommand : NSEventModifierFlags{0};
  item.state = spec.isChecked ? NSControlStateValueOn : NSControlStateValueOff;
  item.enabled = spec.isEnabled;
  if (spec.choose) {
    WRMenuChoice* choice = [[WRMenuChoice alloc] initWithChoice:std::move(spec.choose)];
    item.target = choice;
    item.action = @selector(choose:);
    item.representedObject = choice;
  }
  return item;
}

}  // namespace

void fillMenu(NSMenu* menu, const std::vector<MenuEntry>& entries) {
  // Text lines stay disabled and every other item enabled, as the entries say.
  menu.autoenablesItems = NO;
  [menu removeAllItems];
  for (MenuItemSpec& spec : menuItemSpecs(entries)) [menu addItem:makeItem(spec)];
}

// The bar shows the symbol drawn as a template, so that it follows the bar's appearance.
NSImage* statusBarImage(const StatusLabel& label) {
  NSImage* image = systemSymbolImage(label.symbolName, label.title);
  [image setTemplate:YES];
  return image;
}

NSStatusItem* statusBarItem(const StatusItem& item) {
  const auto* mac = dynamic_cast<const MacStatusItem*>(&item);
  return mac != nullptr ? mac->item() : nil;
}

std::shared_ptr<StatusItem> makeMacStatusItem() { return std::make_shared<MacStatusItem>(); }

}  // namespace wheelright
