#include "platform/sim/sim_localizer.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <variant>

namespace wheelright::sim {
namespace {

namespace fs = std::filesystem;

// What a table parses to, or the one line that says where and why it does not.
std::variant<StringsTable, std::string> parsed(std::string_view content) {
  try {
    return parseStringsTable(content, "t.strings");
  } catch (const StringsTableError& error) {
    return error.what();
  }
}

TEST(StringsTableTest, EntriesAndTheLineOfEachFault) {
  const std::pair<std::string_view, std::variant<StringsTable, std::string>> rows[] = {
      {"\xEF\xBB\xBF/* a\n comment */ \"a\" = \"x\\\"\\\\\\n\\t\";\n// b\n\"b\"=\"\\U00e9 ✅\";",
       StringsTable{{"a", "x\"\\\n\t"}, {"b", "é ✅"}}},
      {"", StringsTable{}},
      {"\"a\" = \"x\";\n\"a\" = \"y\";", "t.strings:2: \"a\" is given twice (first on line 1)"},
      {"\"a\" = \"x\"\n\"b\" = \"y\";", "t.strings:2: expected ; after the text"},
      {"\"a\" \"x\";", "t.strings:1: expected = after the key"},
      {"a = \"x\";", "t.strings:1: expected a quoted key"},
      {"\"a\" = x;", "t.strings:1: expected a quoted text after ="},
      {"\n\"a\" = \"x;\n", "t.strings:2: a string without its closing quote"},
      {"\"a\" = \"\";", "t.strings:1: \"a\" has an empty text"},
      {"\"\" = \"x\";", "t.strings:1: an empty key"},
      {"\n\n\"a\" = \"\\q\";", "t.strings:3: an unknown escape \\q"},
      {"\"a\" = \"\\U12\";", "t.strings:1: \\U needs four hexadecimal digits"},
      {"\"a\" = \"\\UD800\";", "t.strings:1: \\U names no character"},
      {"\"a\" = \"x\"; /* open", "t.strings:1: a comment without its */"},
      {"\"a\" = \"\xC3\";", "t.strings:1: not UTF-8"},
      {"\"a\" = \"\xED\xA0\x80\";", "t.strings:1: not UTF-8"},
  };
  for (const auto& [content, expected] : rows) EXPECT_EQ(parsed(content), expected) << content;
}

TEST(SimLocalizerTest, TheSystemsChoiceOfLanguage) {
  const std::vector<std::string> bundle = {"en", "ko", "pt", "zh-Hans", "zh-Hant"};
  const std::pair<const char*, const char*> rows[] = {
      {"ko", "ko"},         {"en", "en"},         {"de", "en"},         {"ko-KR", "ko"},
      {"pt_BR", "pt"},      {"kok", "en"},        {"pt-Latn-BR", "pt"}, {"zh-Hans-CN", "zh-Hans"},
      {"zh-TW", "zh-Hant"}, {"zh_HK", "zh-Hant"}, {"zh", "zh-Hans"},    {"zh-SG", "zh-Hans"},
      {"zho", "en"}};
  for (const auto& [language, chosen] : rows) {
    EXPECT_EQ(chooseLocalization(bundle, language), chosen) << language;
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
  fs::path folder;
};

// A text that a translation lacks comes from the English table, never as its key or empty.
TEST_F(LocalizerFolderTest, AMissingTextIsTheEnglishOne) {
  put("en", "\"a\" = \"A\"; \"b\" = \"B\";");
  put("xx", "\"a\" = \"Ä\";");
  fs::create_directories(folder / "yy.lproj");  // no table: not a localization
  EXPECT_EQ(localizationsIn(folder), (std::vector<std::string>{"en", "xx"}));
  const SimLocalizer localizer(folder, "xx");
  EXPECT_EQ(localizer.localizedString("a"), "Ä");
  EXPECT_EQ(localizer.localizedString("b"), "B");
  EXPECT_EQ(localizer.localizedString("c"), std::nullopt);
  EXPECT_EQ(SimLocalizer(folder, "yy").localizedString("a"), "A");
}

TEST_F(LocalizerFolderTest, ATableThatCannotBeUsedIsNamedWithItsLine) {
  const auto failure = [this] {
    try {
      SimLocalizer(folder, "xx");
      return std::string("none");
    } catch (const StringsTableError& error) {
      return std::string(error.what());
    }
  };
  const std::string english = (folder / "en.lproj/Localizable.strings").string();
  put("xx", "\"a\" = \"Ä\";");
  EXPECT_EQ(failure(), english + ": no such table");
  put("en", "\"a\" = \"A\";");
  put("xx", "\"a\" = \"Ä\"");
  EXPECT_EQ(failure(),
            (folder / "xx.lproj/Localizable.strings").string() + ":1: expected ; after the text");
}

}  // namespace
}  // namespace wheelright::sim
