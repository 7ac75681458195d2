// Localizer over a bundle's Localizable.strings: the bundle picks the localization from the
// user's preferred languages as every Mac application does; the development table fills in what
// a translation lacks, which NSBundle itself would answer with the key.

#import <Foundation/Foundation.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/macos/mac_services.h"
#include "platform/macos/objc_bridge.h"

namespace wheelright {
namespace {

// No table holds it, so it tells a text that the chosen table lacks from one that it holds.
NSString* const notInTable = @"(wheelright: no such text in this table)";

class MacLocalizer final : public Localizer {
 public:
  explicit MacLocalizer(NSBundle* bundle) : bundle_(bundle) {
    NSString* development = bundle.developmentLocalization;
    if (development == nil) development = @(developmentLocalization);
    NSString* path = [bundle pathForResource:@"Localizable"
                                      ofType:@"strings"
                                 inDirectory:nil
                             forLocalization:development];
    NSString* table = path != nil ? [NSString stringWithContentsOfFile:path
                                                              encoding:NSUTF8StringEncoding
                                                                 error:nil]
                                  : nil;
    development_ = table != nil ? table.propertyListFromStringsFileFormat : nil;
    if (development_ == nil) development_ = @{};
  }

  std::optional<std::string> localizedString(const std::string& key) const override {
    @autoreleasepool {
      NSString* name = toNSString(key);
      NSString* text = [bundle_ localizedStringForKey:name value:notInTable table:nil];
      if ([text isEqualToString:notInTable]) text = development_[name];
      if (text.length == 0) return std::nullopt;
      return toStdString(text);
    }
  }

 private:
  NSBundle* bundle_;
  NSDictionary<NSString*, NSString*>* development_;
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
