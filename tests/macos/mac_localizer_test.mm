// The localizer over a bundle made for the test: every shipped table as the bundle reads it,
// whichever language the Mac prefers.

#import <Foundation/Foundation.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "model/texts.h"
#include "platform/macos/mac_services.h"

namespace wheelright {
namespace {

namespace fs = std::filesystem;

class MacLocalizerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(bundle / "Contents/Resources");
    std::ofstream(bundle / "Contents/Info.plist")
        << "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><dict>"
           "<key>CFBundleIdentifier</key><string>app.wheelright.tests.localizer</string>"
           "<key>CFBundleDevelopmentRegion</key><string>en</string></dict></plist>";
  }
  void TearDown() override { fs::remove_all(bundle); }

  const fs::path bundle = fs::temp_directory_path() /
                          ("wheelright-localizer-" + std::to_string(getpid()) + ".bundle");
};

TEST_F(MacLocalizerTest, EveryTextOfTheShippedTables) {
  for (const auto& entry : fs::directory_iterator(WHEELRIGHT_LOCALIZATION_DIR)) {
    if (entry.path().extension() != ".lproj") continue;
    fs::copy(entry.path(), bundle / "Contents/Resources" / entry.path().filename(),
             fs::copy_options::recursive);
  }
  const std::shared_ptr<Localizer> localizer = makeMacLocalizer(bundle.string());
  ASSERT_NE(localizer, nullptr);
  for (const TextKey& text : textKeys()) {
    const std::optional<std::string> found = localizer->localizedString(std::string(text.key));
    EXPECT_TRUE(found && !found->empty() && *found != text.key) << text.key;
  }
}

}  // namespace
}  // namespace wheelright
