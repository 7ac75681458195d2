// Localizer over a bundle's Localizable.strings: the bundle picks the localization from the
// user's preferred languages as every Mac application does, the development one when none fits.

#import <Foundation/Foundation.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/macos/mac_services.h"
#include "platform/macos/objc_bridge.h"

namespace wheelright {
namespace {

// No table holds it, so it tells a key that the table lacks from a text (NSBundle would answer
// the key itself).
NSString* const notInTable = @"(wheelright: no such text in this table)";

class MacLocalizer final : public Localizer {
 public:
  explicit MacLocalizer(NSBundle* bundle) : bundle_(bundle) {}

  std::optional<std::string> localizedString(const std::string& key) const override {
    @autoreleasepool {
      NSString* text = [bundle_ localizedStringForKey:toNSString(key) value:notInTable table:nil];
      if (text.length == 0 || [text isEqualToString:notInTable]) return std::nullopt;
      return toStdString(text);
    }
  }

 private:
  NSBundle* bundle_;
};

}  // namespace

std::shared_ptr<Localizer> makeMacLocalizer() {
  return std::make_shared<MacLocalizer>(NSBundle.mainBundle);
}

std::shared_ptr<Localizer> makeMacLocalizer(const std::string& bundlePath) {
  NSBundle* bundle = [NSBundle bundleWithPath:toNSString(bundlePath)];
  return bundle != nil ? std::make_shared<MacLocalizer>(bundle) : nullptr;
}

}  // namespace wheelright
