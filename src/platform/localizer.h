#pragma once
// The application's texts in the user's language: the strings tables shipped beside the program
// (NSBundle mainBundle localizedStringForKey:value:table: over Localizable.strings). Main thread.

#include <optional>
#include <string>

namespace wheelright {

// The localization the system falls back on when none of the user's languages has a table.
inline constexpr const char* developmentLocalization = "en";

class Localizer {
 public:
  virtual ~Localizer() = default;

  // The text of `key` in the localization that the system chose from the user's preferred
  // languages (every shipped table holds every text); absent when that table lacks it.
  virtual std::optional<std::string> localizedString(const std::string& key) const = 0;
};

}  // namespace wheelright
