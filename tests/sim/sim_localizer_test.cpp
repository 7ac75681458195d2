#include "platform/sim/sim_localizer.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

namespace wheelright::sim {
namespace {

namespace fs = std::filesystem;

TEST(StringsTableTest, EntriesAndTheLineOfEachFault) {
  const std::pair<std::string_view, Result<StringsTable>> rows[] = {
      {"/* a\n comment */ \"a\" = \"x\\\"\\\\\\n\";\n// b\n\"b\"=\"é ✅\";",
       StringsTable{{"a", "x\"\\\n"}, {"b", "é ✅"}}},
      {"", StringsTable{}},
      {"\"a\" = \"x\";\n\"a\" = \"y\";",
       Error{"t.strings:2: \"a\" is given twice (first on line 1)"}},
      {"\"a\" = \"x\"\n\"b\" = \"y\";", Error{"t.strings:2: expected ; after the text"}},
      {"\"a\" \"x\";", Error{"t.strings:1: expected = after the key"}},
      {"a = \"x\";", Error{"t.strings:1: expected a quoted key"}},
      {"\"a\" = x;", Error{"t.strings:1: expected a quoted text after ="}},
      {"\n\"a\" = \"x;\n", Error{"t.strings:2: a string without its closing quote"}},
      {"\"a\" = \"\";", Error{"t.strings:1: \"a\" has an empty text"}},
      {"\"\" = \"x\";", Error{"t.strings:1: an empty key"}},
      {"\n\n\"a\" = \"\\t\";", Error{"t.strings:3: an unknown escape \\t"}},
      {"\"a\" = \"\\U00e9\";", Error{"t.strings:1: an unknown escape \\U"}},
      {"\"a\" = \"x\"; /* open", Error{"t.strings:1: a comment without its */"}},
  };
  for (const auto& [content, expected] : rows) {
    EXPECT_EQ(parseStringsTable(content, "t.strings"), expected) << content;
  }
}

class LocalizerFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::path(::testing::TempDir()) / "lproj-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder = pattern;
  }
  void TearDown() override { fs::remove_all(folder); }
  void put(const std::string& language, const std::string& table) {
    fs::create_directories(folder / (language + ".lproj"));
    std::ofstream(folder / (language + ".lproj/Localizable.strings")) << table;
  }
  std::string textIn(const std::string& language) const {
    const Result<SimLocalizer> localizer = SimLocalizer::open(folder, language);
    if (!localizer) return localizer.error();
    return localizer.value().localizedString("a").value_or("(none)");
  }
  fs::path folder;
};

// The system's choice: the language, the language without its region (Chinese by its script),
// else English. A folder without a table is no localization, and a table that cannot be read is
// named with its line.
TEST_F(LocalizerFolderTest, TheTableChosenForALanguage) {
  put("en", "\"a\" = \"A\";");
  put("ko", "\"a\" = \"가\";");
  put("pt", "\"b\" = \"B\";");
  put("zh-Hans", "\"a\" = \"简\";");
  put("zh-Hant", "\"a\" = \"繁\";");
  put("xx", "\"a\" = \"X\"");
  fs::create_directories(folder / "yy.lproj");
  const std::string xx = (folder / "xx.lproj/Localizable.strings").string();
  const std::pair<const char*, std::string> rows[] = {
      {"ko", "가"}, {"ko-KR", "가"}, {"kok", "A"}, {"de", "A"}, {"yy", "A"}, {"pt_BR", "(none)"},
      {"pt-Latn-BR", "(none)"}, {"zh-Hans-CN", "简"}, {"zh-TW", "繁"}, {"zh_HK", "繁"},
      {"zh", "简"}, {"zh-SG", "简"}, {"zho", "A"}, {"xx", xx + ":1: expected ; after the text"}};

  for (const auto& [language, text] : rows) EXPECT_EQ(textIn(language), text) << language;
  fs::remove_all(folder / "en.lproj");
  EXPECT_EQ(textIn("de"), (folder / "en.lproj/Localizable.strings").string() + ": no such table");
}

}  // namespace
}  // namespace wheelright::sim
