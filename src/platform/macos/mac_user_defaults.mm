// UserDefaults over NSUserDefaults: the standard store, or a named suite.

#import <Foundation/Foundation.h>

#include <map>
#include <memory>
#include <string>

#include "platform/macos/mac_services.h"
#include "platform/macos/objc_bridge.h"

namespace wheelright {
namespace {

class MacUserDefaults final : public UserDefaults {
 public:
  explicit MacUserDefaults(NSUserDefaults* defaults) : defaults_(defaults) {}

  void registerDefaults(const std::map<std::string, bool>& defaults) override {
    NSMutableDictionary<NSString*, id>* registered =
        [NSMutableDictionary dictionaryWithCapacity:defaults.size()];
    for (const auto& [key, value] : defaults) registered[toNSString(key)] = @(value);
    [defaults_ registerDefaults:registered];
  }

  bool boolForKey(const std::string& key) const override {
    return [defaults_ boolForKey:toNSString(key)];
  }

  void setBool(bool value, const std::string& key) override {
    [defaults_ setBool:value forKey:toNSString(key)];
  }

 private:
  NSUserDefaults* defaults_;
};

}  // namespace

std::shared_ptr<UserDefaults> makeMacStandardUserDefaults() {
  return std::make_shared<MacUserDefaults>([NSUserDefaults standardUserDefaults]);
}

std::shared_ptr<UserDefaults> makeMacUserDefaults(const std::string& suiteName) {
  NSUserDefaults* suite = [[NSUserDefaults alloc] initWithSuiteName:toNSString(suiteName)];
  return suite != nil ? std::make_shared<MacUserDefaults>(suite) : nullptr;
}

}  // namespace wheelright
