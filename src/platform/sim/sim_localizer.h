#pragma once
// The simulator's localizer: it reads the Localizable.strings tables that Wheelright.app ships,
// one <language>.lproj folder each, and chooses among them for the desktop's preferred language
// as the system chooses for a bundle, English when none fits.

#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/localizer.h"

namespace wheelright::sim {

// A table that cannot be read or parsed: "<file>:<line>: <reason>" (no line for a whole file).
class StringsTableError : public std::runtime_error {
 public:
  StringsTableError(const std::filesystem::path& file, int line, const std::string& reason);
};

using StringsTable = std::map<std::string, std::string, std::less<>>;

// The "key" = "text"; entries of a strings file in UTF-8: comments, the escapes \" \\ \n \t \r
// and \Uhhhh, a byte-order mark. A key given twice and an empty text are errors too.
StringsTable parseStringsTable(std::string_view content, const std::filesystem::path& file);
StringsTable readStringsTable(const std::filesystem::path& file);

// The languages that `directory` has a Localizable.strings for, sorted.
std::vector<std::string> localizationsIn(const std::filesystem::path& directory);
// The table that a bundle with these localizations shows a user who prefers `language`: that
// language, else the language with fewer subtags ("pt" for "pt-BR", "zh-Hans" for "zh-Hans-CN";
// Chinese with only a region has its script: "zh-TW" is "zh-Hant-TW"), else the development one.
std::string chooseLocalization(const std::vector<std::string>& localizations,
                               const std::string& language);

class SimLocalizer final : public Localizer {
 public:
  // Reads the chosen table and the development table; throws StringsTableError when either
  // cannot be used.
  SimLocalizer(const std::filesystem::path& directory, const std::string& preferredLanguage);

  // Not logged: reading the bundle's own resources is no call that the desktop answers.
  std::optional<std::string> localizedString(const std::string& key) const override;
  const std::string& localization() const { return localization_; }

 private:
  std::string localization_;
  StringsTable chosen_;
  StringsTable development_;  // empty when it is the chosen one
};

}  // namespace wheelright::sim
