#include "model/texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <numeric>
#include <set>

#include "platform/sim/sim_localizer.h"

namespace wheelright {
namespace {

TEST(TextsTest, FormatsFillTheirPlaceholders) {
  using Args = std::vector<std::string>;
  const std::tuple<std::string_view, Args, std::string, std::vector<int>> rows[] = {
      {"%@ then %@", {"a", "b"}, "a then b", {1, 2}},
      {"%2$@ before %1$@", {"a", "b"}, "b before a", {2, 1}},
      {"100%% %@", {"a"}, "100% a", {1}},
      {"%3$@ and %@", {"a"}, "%3$@ and a", {3, 1}},
      {"50% %d %$@ %0$@ %", {"a"}, "50% %d %$@ %0$@ %", {}},
      {"%1$@", {"%2$@", "b"}, "%2$@", {1}},
  };
  for (const auto& [format, arguments, text, numbers] : rows) {
    EXPECT_EQ(formatText(format, arguments), text) << format;
    EXPECT_EQ(placeholderNumbers(format), numbers) << format;
  }
}

// Every table that ships: exactly the application's keys (no table falls back on another), every
// format with the placeholders that the application fills. A failure names the file and the key.
TEST(TextsTest, EveryTableHoldsExactlyTheApplicationsTexts) {
  const std::filesystem::path folder = WHEELRIGHT_LOCALIZATION_DIR;
  const std::vector<std::string> languages = sim::localizationsIn(folder);
  for (const char* required : {"en", "ko", "de", "es", "fr", "ja", "zh-Hans", "zh-Hant"}) {
    EXPECT_NE(std::find(languages.begin(), languages.end(), required), languages.end()) << required;
  }
  for (const std::string& language : languages) {
    const std::filesystem::path file = folder / (language + ".lproj") / "Localizable.strings";
    const Result<sim::StringsTable> read = sim::readStringsTable(file);
    if (!read) {
      ADD_FAILURE() << read.error();
      continue;
    }
    const sim::StringsTable& table = read.value();
    std::set<std::string, std::less<>> unused;
    for (const auto& entry : table) unused.insert(entry.first);
    for (const TextKey& text : textKeys()) {
      const auto found = table.find(text.key);
      if (found == table.end()) {
        ADD_FAILURE() << file.string() << ": no text for \"" << text.key << "\"";
        continue;
      }
      unused.erase(found->first);
      std::vector<int> numbers = placeholderNumbers(found->second);
      std::sort(numbers.begin(), numbers.end());
      std::vector<int> filled(static_cast<std::size_t>(text.argumentCount));
      std::iota(filled.begin(), filled.end(), 1);
      EXPECT_EQ(numbers, filled) << file.string() << ": \"" << text.key
                                 << "\" must use each of its arguments once";
    }
    for (const std::string& key : unused) {
      ADD_FAILURE() << file.string() << ": \"" << key << "\" is no text of the application";
    }
  }
}

}  // namespace
}  // namespace wheelright
