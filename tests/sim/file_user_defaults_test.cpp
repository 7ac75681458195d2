#include "platform/sim/file_user_defaults.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

namespace wheelright::sim {
namespace {

namespace fs = std::filesystem;

class FileUserDefaultsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::path(::testing::TempDir()) / "defaults-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder = pattern;
  }
  void TearDown() override { fs::remove_all(folder); }

  fs::path file() const { return folder / FileUserDefaults::fileName; }
  void writeFile(const fs::path& path, const std::string& text) const {
    std::ofstream(path) << text;
  }
  static std::string readFile(const fs::path& path) {
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
  }
  std::set<std::string> folderContents() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
      names.insert(entry.path().filename().string());
    return names;
  }

  fs::path folder;
};

TEST_F(FileUserDefaultsTest, StoredValuesOutliveTheStoreAndWinOverRegisteredOnesNeverWritten) {
  {
    FileUserDefaults first(folder);
    first.registerDefaults({{"isEnabled", true}, {"reverseHorizontal", false}});
    EXPECT_TRUE(first.boolForKey("isEnabled"));
    EXPECT_FALSE(first.boolForKey("neverRegistered"));
    EXPECT_FALSE(fs::exists(file())) << "registering writes nothing";
    first.setBool(false, "isEnabled");
    first.setBool(true, "reverseHorizontal");
  }
  FileUserDefaults second(folder);
  EXPECT_EQ(second.storedValues(), (std::map<std::string, bool>{{"isEnabled", false}, {"reverseHorizontal", true}}));
  second.registerDefaults({{"isEnabled", true}, {"reverseVertical", true}});
  EXPECT_FALSE(second.boolForKey("isEnabled"));
  EXPECT_TRUE(second.boolForKey("reverseVertical"));
}

// One bad line loses that line only.
TEST_F(FileUserDefaultsTest, FilesAreReadKeyByKey) {
  struct Row {
    const char* text;
    std::map<std::string, bool> values;
    int skipped;
  };
  const std::vector<Row> rows = {
      {"", {}, 0},
      {"a=true\n\n# note\n  b = false \r\nc=true", {{"a", true}, {"b", false}, {"c", true}}, 0},
      {"a=true\na=false\n", {{"a", false}}, 0},
      {"odd=key=true\n", {{"odd=key", true}}, 0},
      {"reverseHorizontal=true\nstray\nreverseVertical=false\n",
       {{"reverseHorizontal", true}, {"reverseVertical", false}},
       1},
      {"a=yes\nb=TRUE\n=true\nc=true\n{\"json\": 1}\n", {{"c", true}}, 4},
  };
  for (const Row& row : rows) {
    fs::remove_all(folder);
    fs::create_directories(folder);
    writeFile(file(), row.text);
    FileUserDefaults store(folder);
    EXPECT_EQ(store.storedValues(), row.values) << row.text;
    EXPECT_EQ(store.skippedLineCount(), row.skipped) << row.text;
    EXPECT_EQ(readFile(file()), row.text) << "reading changes nothing on disk";
  }
}

// The original of a damaged file is kept aside once, just before the first write replaces it.
TEST_F(FileUserDefaultsTest, ADamagedFileIsKeptAsideUnderANameNotYetTaken) {
  const std::string damaged = "reverseHorizontal=true\nstray\nreverseVertical=false\n";
  writeFile(file(), damaged);
  writeFile(folder / "defaults.txt.damaged-1", "an older copy that must stay\n");
  {
    FileUserDefaults store(folder);
    store.registerDefaults({{"isEnabled", true}, {"reverseVertical", true}});
    EXPECT_FALSE(store.boolForKey("reverseVertical")) << "the good lines answer";
    EXPECT_FALSE(store.damagedFileMovedTo()) << "nothing moves before a write";
    store.setBool(false, "isEnabled");
    EXPECT_EQ(store.damagedFileMovedTo(), folder / "defaults.txt.damaged-2");
    store.setBool(true, "isEnabled");
  }
  EXPECT_EQ(readFile(folder / "defaults.txt.damaged-2"), damaged);
  EXPECT_EQ(readFile(folder / "defaults.txt.damaged-1"), "an older copy that must stay\n");
  EXPECT_EQ(folderContents().size(), 3u) << "kept aside once, not at every write";
  FileUserDefaults again(folder);
  EXPECT_EQ(again.storedValues(), (std::map<std::string, bool>{{"isEnabled", true},
                                                                {"reverseHorizontal", true},
                                                                {"reverseVertical", false}}));
  EXPECT_EQ(again.skippedLineCount(), 0);
}

TEST_F(FileUserDefaultsTest, AFailedWriteIsReportedOnceAndAgainAfterARecovery) {
  const fs::path blocked = folder / "not-a-folder";
  writeFile(blocked, "");  // a file where the store's folder should be
  FileUserDefaults store(blocked);
  ::testing::internal::CaptureStderr();
  store.setBool(true, "isEnabled");
  store.setBool(false, "isEnabled");
  const std::string reported = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(reported.begin(), reported.end(), '\n'), 1) << reported;
  EXPECT_NE(reported.find((blocked / "defaults.txt").string()), std::string::npos) << reported;
  EXPECT_NE(reported.find("cannot make the folder"), std::string::npos) << reported;

  fs::remove(blocked);
  ::testing::internal::CaptureStderr();
  store.setBool(true, "isEnabled");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(FileUserDefaults(blocked).storedValues(), (std::map<std::string, bool>{{"isEnabled", true}}));

  fs::remove_all(blocked);
  writeFile(blocked, "");
  ::testing::internal::CaptureStderr();
  store.setBool(false, "isEnabled");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), reported) << "the same failure, told again";
}

TEST_F(FileUserDefaultsTest, TheFolderFollowsXdgConfigHomeThenHome) {
  const char* rows[][3] = {{"/x", "/h", "/x/wheelright"},
                           {"", "/h", "/h/.config/wheelright"},
                           {nullptr, "/h", "/h/.config/wheelright"},
                           {nullptr, nullptr, ""}};
  const auto put = [](const char* name, const char* value) {
    value != nullptr ? ::setenv(name, value, 1) : ::unsetenv(name);
  };
  const std::string xdg = std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
  const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
  for (const auto& [xdgValue, homeValue, expected] : rows) {
    put("XDG_CONFIG_HOME", xdgValue);
    put("HOME", homeValue);
    EXPECT_EQ(FileUserDefaults::standardDirectory(), fs::path(expected));
  }
  put("XDG_CONFIG_HOME", xdg.empty() ? nullptr : xdg.c_str());
  put("HOME", home.empty() ? nullptr : home.c_str());
}

}  // namespace
}  // namespace wheelright::sim
