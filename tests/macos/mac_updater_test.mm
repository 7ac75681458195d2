// Sparkle as the release embeds it, reached through the project's own declarations of its
// methods: a wrong name or signature there would only show on a user's Mac.

#import <Foundation/Foundation.h>
#include <gtest/gtest.h>

#include <memory>

#include "platform/macos/mac_services.h"

namespace wheelright {
namespace {

TEST(MacUpdaterTest, SparklesControllerIsCreatedWithoutStartingAndCannotCheckYet) {
  NSString* path = @WHEELRIGHT_SPARKLE_FRAMEWORK;
  if (path.length == 0 || ![NSFileManager.defaultManager fileExistsAtPath:path]) {
    GTEST_SKIP() << "no Sparkle.framework in this build (WHEELRIGHT_SPARKLE is off)";
  }
  // The test program has no feed, so the application's own factory declines.
  EXPECT_EQ(makeMacUpdater(), nullptr);
  NSError* error = nil;
  ASSERT_TRUE([[NSBundle bundleWithPath:path] loadAndReturnError:&error])
      << error.localizedDescription.UTF8String;

  const std::shared_ptr<Updater> updater = makeSparkleUpdater(false);
  ASSERT_NE(updater, nullptr);
  // An updater that has not started cannot check; the menu shows the entry disabled.
  EXPECT_FALSE(updater->canCheckForUpdates());
  // Sparkle leaves scheduled checks off until the user has agreed to them.
  EXPECT_FALSE(updater->automaticallyChecksForUpdates());
}

}  // namespace
}  // namespace wheelright
