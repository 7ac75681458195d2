#include "platform/sim/file_user_defaults.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
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

TEST_F(FileUserDefaultsTest, RegisteredDefaultsAnswerButAreNeverWritten) {
  FileUserDefaults store(folder);
  store.registerDefaults({{"isEnabled", true}, {"reverseHorizontal", false}});
  EXPECT_TRUE(store.boolForKey("isEnabled"));
  EXPECT_FALSE(store.boolForKey("neverRegistered"));
  EXPECT_FALSE(fs::exists(file()));

  store.setBool(false, "reverseHorizontal");
  EXPECT_EQ(FileUserDefaults(folder).storedValues(),
            (std::map<std::string, bool>{{"reverseHorizontal", false}}));
}

TEST_F(FileUserDefaultsTest, StoredValuesOutliveTheStoreAndWinOverRegisteredOnes) {
  {
    FileUserDefaults first(folder);
    first.setBool(false, "isEnabled");
    first.setBool(true, "reverseHorizontal");
  }
  FileUserDefaults second(folder);
  second.registerDefaults({{"isEnabled", true}, {"reverseVertical", true}});
  EXPECT_FALSE(second.boolForKey("isEnabled"));
  EXPECT_TRUE(second.boolForKey("reverseHorizontal"));
  EXPECT_TRUE(second.boolForKey("reverseVertical"));
}

TEST_F(FileUserDefaultsTest, KeysOfOthersAreKeptAndNoTemporaryFileStays) {
  writeFile(file(), "# written by hand\nsomeoneElses=true\n");
  FileUserDefaults store(folder);
  for (int i = 0; i < 5; ++i) store.setBool(i % 2 == 0, "isEnabled");
  EXPECT_EQ(FileUserDefaults(folder).storedValues(),
            (std::map<std::string, bool>{{"isEnabled", true}, {"someoneElses", true}}));
  EXPECT_EQ(folderContents(), std::set<std::string>{"defaults.txt"});
}

TEST_F(FileUserDefaultsTest, FilesAreReadLineByLineOrFoundDamaged) {
  struct Row {
    const char* text;
    std::optional<std::map<std::string, bool>> values;  // none: damaged
  };
  const std::vector<Row> rows = {
      {"", std::map<std::string, bool>{}},
      {"a=true\n\n# note\n  b = false \r\nc=true",
       std::map<std::string, bool>{{"a", true}, {"b", false}, {"c", true}}},
      {"a=true\na=false\n", std::map<std::string, bool>{{"a", false}}},
      {"odd=key=true\n", std::map<std::string, bool>{{"odd=key", true}}},
      {"a=yes\n", std::nullopt},
      {"a=TRUE\n", std::nullopt},
      {"=true\n", std::nullopt},
      {"just words\n", std::nullopt},
      {"a=true\n{\"json\": 1}\n", std::nullopt},
  };
  for (const Row& row : rows) {
    fs::remove_all(folder);
    fs::create_directories(folder);
    writeFile(file(), row.text);
    FileUserDefaults store(folder);
    if (row.values) {
      EXPECT_EQ(store.storedValues(), *row.values) << row.text;
      EXPECT_FALSE(store.damagedFileMovedTo()) << row.text;
    } else {
      EXPECT_TRUE(store.storedValues().empty()) << row.text;
      EXPECT_TRUE(store.damagedFileMovedTo()) << row.text;
    }
  }
}

TEST_F(FileUserDefaultsTest, ADamagedFileIsKeptAsideUnderANameNotYetTaken) {
  writeFile(file(), "first damage\n");
  writeFile(folder / "defaults.txt.damaged-2", "an older copy that must stay\n");
  {
    FileUserDefaults store(folder);
    store.registerDefaults({{"isEnabled", true}});
    EXPECT_EQ(store.damagedFileMovedTo(), folder / "defaults.txt.damaged-1");
    EXPECT_TRUE(store.boolForKey("isEnabled")) << "the registered defaults answer";
    EXPECT_FALSE(fs::exists(file())) << "nothing is written before the next change";
    store.setBool(false, "isEnabled");
  }
  EXPECT_EQ(FileUserDefaults(folder).storedValues(),
            (std::map<std::string, bool>{{"isEnabled", false}}));

  writeFile(file(), "second damage\n");
  FileUserDefaults again(folder);
  EXPECT_EQ(again.damagedFileMovedTo(), folder / "defaults.txt.damaged-3");
  EXPECT_EQ(readFile(folder / "defaults.txt.damaged-1"), "first damage\n");
  EXPECT_EQ(readFile(folder / "defaults.txt.damaged-2"), "an older copy that must stay\n");
  EXPECT_EQ(readFile(folder / "defaults.txt.damaged-3"), "second damage\n");
}

TEST_F(FileUserDefaultsTest, TheFolderFollowsXdgConfigHomeThenHome) {
  struct Row {
    const char* xdg;  // null: unset
    const char* home;
    const char* folder;
  };
  const std::vector<Row> rows = {
      {"/x", "/h", "/x/wheelright"},
      {"", "/h", "/h/.config/wheelright"},
      {nullptr, "/h", "/h/.config/wheelright"},
      {nullptr, nullptr, ""},
  };
  const auto keep = [](const char* name) -> std::optional<std::string> {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
  };
  const auto put = [](const char* name, const std::optional<std::string>& value) {
    if (value) {
      ::setenv(name, value->c_str(), 1);
    } else {
      ::unsetenv(name);
    }
  };
  const auto xdg = keep("XDG_CONFIG_HOME");
  const auto home = keep("HOME");
  for (const Row& row : rows) {
    put("XDG_CONFIG_HOME", row.xdg ? std::optional<std::string>(row.xdg) : std::nullopt);
    put("HOME", row.home ? std::optional<std::string>(row.home) : std::nullopt);
    EXPECT_EQ(FileUserDefaults::standardDirectory(), fs::path(row.folder));
  }
  put("XDG_CONFIG_HOME", xdg);
  put("HOME", home);
}

}  // namespace
}  // namespace wheelright::sim
