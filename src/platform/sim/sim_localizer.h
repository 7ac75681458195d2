#pragma once
// The simulator's localizer: it reads the Localizable.strings tables that Wheelright.app ships,
// one <language>.lproj folder each, and chooses among them for the desktop's preferred language
// as the system chooses for a bundle, English when none fits.

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "platform/localizer.h"

namespace wheelright::sim {

using StringsTable = std::map<std::string, std::string, std::less<>>;

// The part of the strings format that our tables use: "key" = "text"; entries, /* */ and //
// comments, the escapes \" \\ \n. Anything else, a key given twice and an empty text fail with
// "<file>:<line>: <reason>" (no line when the whole file cannot be used).
Result<StringsTable> parseStringsTable(std::string_view content, const std::filesystem::path& file);
Result<StringsTable> readStringsTable(const std::filesystem::path& file);

// The languages that `directory` has a Localizable.strings for, sorted.
std::vector<std::string> localizationsIn(const std::filesystem::path& directory);
// The table that a bundle with these localizations shows a user who prefers `language`: that
// language, else the language with fewer subtags ("pt" for "pt-BR", "zh-Hans" for "zh-Hans-CN";
// Chinese with only a region has its script: "zh-TW" is "zh-Hant-TW"), else the development one.
std::string chooseLocalization(const std::vector<std::string>& localizations,
                               const std::string& language);

class SimLocalizer final : public Localizer {
 public:
  // The table chosen for the language, read from `directory`.
  static Result<SimLocalizer> open(const std::filesystem::path& directory,
                                   const std::string& preferredLanguage);

  // Not logged: reading the bundle's own resources is no call that the desktop answers. Every
  // shipped table holds every text, so there is no other table to fall back on.
  std::optional<std::string> localizedString(const std::string& key) const override;
  const std::string& localization() const { return localization_; }

 private:
  SimLocalizer(std::string localization, StringsTable table)
      : localization_(std::move(localization)), table_(std::move(table)) {}

  std::string localization_;
  StringsTable table_;
};

}  // namespace wheelright::sim
