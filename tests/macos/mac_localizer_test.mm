// The localizer over a bundle made for the test: the shipped tables as the bundle reads them,
// and the English table where none fits the language, whichever language the Mac prefers.

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
  void put(const std::string& language, const std::string& table) {
    const fs::path folder = bundle / "Contents/Resources" / (language + ".lproj");
    fs::create_directories(folder);
    std::ofstream(folder / "Localizable.strings") << table;
  }

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

// Whatever the user's languages, a bundle without a table for them shows the English one.
TEST_F(MacLocalizerTest, WithoutATableForTheLanguageTheTextsAreEnglish) {
  put("en", "\"a\" = \"A\";\n");
  const std::shared_ptr<Localizer> localizer = makeMacLocalizer(bundle.string());
  ASSERT_NE(localizer, nullptr);
  EXPECT_EQ(localizer->localizedString("a"), "A");
  EXPECT_EQ(localizer->localizedString("b"), std::nullopt);
}

}  // namespace
}  // namespace wheelright
