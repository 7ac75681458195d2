// User defaults in a suite of the test's own, the natural-scrolling conversion on a preferences
// domain of its own and the settings addresses. Nothing here touches the user's settings or
// prompts. (The login item needs a bundle; the test program is none.)

#import <ApplicationServices/ApplicationServices.h>
#import <Foundation/Foundation.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "model/system_probes.h"
#include "platform/macos/mac_objects.h"
#include "platform/macos/mac_services.h"
#include "platform/macos/objc_bridge.h"

namespace wheelright {
namespace {

std::string testDomain(const char* kind) {
  return std::string("app.wheelright.tests.") + kind + "." + std::to_string(getpid());
}

class MacUserDefaultsTest : public ::testing::Test {
 protected:
  void TearDown() override {
    [NSUserDefaults.standardUserDefaults removePersistentDomainForName:toNSString(suite)];
  }
  const std::string suite = testDomain("defaults");
  std::shared_ptr<UserDefaults> defaults = makeMacUserDefaults(suite);
};

// A second instance on the same suite stands for the next launch, or a copy running meanwhile.
TEST_F(MacUserDefaultsTest, RegisteredDefaultsAnswerUntilAValueIsStoredThatASecondInstanceReads) {
  ASSERT_NE(defaults, nullptr);
  defaults->registerDefaults({{"wrTestOn", true}, {"wrTestOff", false}});
  EXPECT_TRUE(defaults->boolForKey("wrTestOn"));
  EXPECT_FALSE(defaults->boolForKey("wrTestOff"));
  EXPECT_FALSE(defaults->boolForKey("wrTestUnknown"));
  const std::shared_ptr<UserDefaults> second = makeMacUserDefaults(suite);
  defaults->setBool(false, "wrTestOn");
  EXPECT_FALSE(defaults->boolForKey("wrTestOn"));
  EXPECT_FALSE(second->boolForKey("wrTestOn"));
  defaults->setBool(true, "wrTestOff");
  EXPECT_TRUE(second->boolForKey("wrTestOff"));
}

TEST(MacPreferences, StoredKindsConvertAsTheProbeExpects) {
  enum Kind { absent, boolean, integer, real, other };
  const struct {
    const char* name;
    id stored;
    Kind kind;
    bool naturalScrolling;
  } rows[] = {
      {"absent", nil, absent, true},       {"true", @YES, boolean, true},
      {"false", @NO, boolean, false},      {"integer 0", @0, integer, false},
      {"integer 2", @2, integer, true},    {"real 0.25", @0.25, real, true},
      {"string \"0\"", @"0", other, true}, {"date", [NSDate date], other, true},
  };
  NSString* domainName = toNSString(testDomain("preferences"));
  const auto domain = (__bridge CFStringRef)domainName;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    CFPreferencesSetValue(CFSTR("wrTestNatural"), (__bridge CFPropertyListRef)row.stored, domain,
                          kCFPreferencesCurrentUser, kCFPreferencesAnyHost);
    const PreferenceValue value = readPreferenceValue(
        CFSTR("wrTestNatural"), domain, kCFPreferencesCurrentUser, kCFPreferencesAnyHost);
    EXPECT_EQ(value.index(), static_cast<std::size_t>(row.kind));
    EXPECT_EQ(preferenceBoolValue(value), row.naturalScrolling);
  }
  CFPreferencesSetValue(CFSTR("wrTestNatural"), nullptr, domain, kCFPreferencesCurrentUser,
                        kCFPreferencesAnyHost);
  CFPreferencesSynchronize(domain, kCFPreferencesCurrentUser, kCFPreferencesAnyHost);
}

TEST(MacSystem, SettingsAddressesAreURLs) {
  for (const std::string_view address : {accessibilityPaneAddress, trackpadPaneAddress}) {
    NSURL* url = [NSURL URLWithString:toNSString(std::string(address))];
    ASSERT_NE(url, nil) << address;
    EXPECT_EQ(toStdString(url.scheme), "x-apple.systempreferences");
    EXPECT_EQ(toStdString(url.absoluteString), address);
  }
}

}  // namespace
}  // namespace wheelright
