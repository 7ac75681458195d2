#include "platform/sim/sim_localizer.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <optional>
#include <sstream>
#include <system_error>
#include <utility>

namespace wheelright::sim {
namespace {

constexpr std::string_view tableName = "Localizable.strings";
// Far beyond any table of ours; a larger file is not one.
constexpr std::uintmax_t largestTable = 1 << 20;

class Parser {
 public:
  Parser(std::string_view content, const std::filesystem::path& file)
      : text_(content), file_(file) {}

  Result<StringsTable> parse() {
    StringsTable table;
    std::map<std::string, int, std::less<>> firstLines;
    while (skipBlanks() && at_ < text_.size()) {
      const std::size_t start = at_;
      std::string key;
      std::string value;
      if (!quoted(key, "a quoted key") || !expect('=', "= after the key") ||
          !quoted(value, "a quoted text after =") || !expect(';', "; after the text")) {
        break;
      }
      if (key.empty()) return failure(start, "an empty key");
      if (value.empty()) return failure(start, "\"" + key + "\" has an empty text");
      if (const auto first = firstLines.find(key); first != firstLines.end()) {
        return failure(start, "\"" + key + "\" is given twice (first on line " +
                                  std::to_string(first->second) + ")");
      }
      firstLines.emplace(key, lineOf(start));
      table.emplace(std::move(key), std::move(value));
    }
    if (error_) return *error_;
    return table;
  }

 private:
  Error failure(std::size_t at, const std::string& reason) const {
    return Error{file_.string() + ":" + std::to_string(lineOf(at)) + ": " + reason};
  }
  // Keeps the first failure for parse() and stops the caller.
  bool fail(std::size_t at, const std::string& reason) {
    error_ = failure(at, reason);
    return false;
  }
  int lineOf(std::size_t at) const {
    return 1 + static_cast<int>(std::count(text_.begin(),
                                           text_.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
  }

  // Past white space and comments; false after a comment that does not end.
  bool skipBlanks() {
    while (at_ < text_.size()) {
      if (text_.substr(at_, 2) == "//") {
        at_ = std::min(text_.find('\n', at_), text_.size());
      } else if (text_.substr(at_, 2) == "/*") {
        const std::size_t end = text_.find("*/", at_ + 2);
        if (end == std::string_view::npos) return fail(at_, "a comment without its */");
        at_ = end + 2;
      } else if (std::string_view(" \t\r\n").find(text_[at_]) != std::string_view::npos) {
        ++at_;
      } else {
        break;
      }
    }
    return true;
  }

  bool expect(char c, const char* what) {
    if (!skipBlanks()) return false;
    if (at_ >= text_.size() || text_[at_] != c) return fail(at_, std::string("expected ") + what);
    ++at_;
    return skipBlanks();
  }

  bool quoted(std::string& value, const char* what) {
    if (at_ >= text_.size() || text_[at_] != '"') return fail(at_, std::string("expected ") + what);
    const std::size_t start = at_++;
    for (; at_ < text_.size() && text_[at_] != '"'; ++at_) {
      if (text_[at_] != '\\') {
        value += text_[at_];
        continue;
      }
      const char escaped = ++at_ < text_.size() ? text_[at_] : '\0';
      if (escaped == 'n') {
        value += '\n';
      } else if (escaped == '"' || escaped == '\\') {
        value += escaped;
      } else {
        return fail(at_ - 1, "an unknown escape \\" + std::string(1, escaped));
      }
    }
    if (at_ >= text_.size()) return fail(start, "a string without its closing quote");
    ++at_;
    return true;
  }

  std::string_view text_;
  const std::filesystem::path& file_;
  std::size_t at_ = 0;
  std::optional<Error> error_;
};

}  // namespace

Result<StringsTable> parseStringsTable(std::string_view content,
                                       const std::filesystem::path& file) {
  return Parser(content, file).parse();
}

Result<StringsTable> readStringsTable(const std::filesystem::path& file) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) {
    return Error{file.string() + ": no such table"};
  }
  if (std::filesystem::file_size(file, error) > largestTable) {
    return Error{file.string() + ": too large"};
  }
  std::ifstream in(file, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  if (!in) return Error{file.string() + ": cannot be read"};
  return parseStringsTable(content.str(), file);
}

std::vector<std::string> localizationsIn(const std::filesystem::path& directory) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(directory, error)) {
    const std::filesystem::path& path = entry.path();
    if (path.extension() == ".lproj" && std::filesystem::exists(path / tableName, error)) {
      names.push_back(path.stem().string());
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string chooseLocalization(const std::vector<std::string>& localizations,
                               const std::string& language) {
  const auto has = [&](const std::string& name) {
    return std::find(localizations.begin(), localizations.end(), name) != localizations.end();
  };
  if (has(language)) return language;
  std::string code = language;
  std::replace(code.begin(), code.end(), '_', '-');
  // Chinese tables go by script; a code without one has its region's: Traditional for Taiwan, Hong
  // Kong and Macao, Simplified elsewhere.
  if (code == "zh" ||
      (code.starts_with("zh-") && code.find('-', 3) == std::string::npos && code.size() <= 6)) {
    const std::string region = code.substr(std::min<std::size_t>(3, code.size()));
    const bool isTraditional = region == "TW" || region == "HK" || region == "MO";
    code = (isTraditional ? "zh-Hant" : "zh-Hans") + (region.empty() ? "" : "-" + region);
  }
  // Then subtags come off from the end: "zh-Hant-HK", "zh-Hant", "zh".
  for (;;) {
    if (has(code)) return code;
    const std::size_t cut = code.rfind('-');
    if (cut == std::string::npos) return developmentLocalization;
    code.erase(cut);
  }
}

Result<SimLocalizer> SimLocalizer::open(const std::filesystem::path& directory,
                                        const std::string& preferredLanguage) {
  std::string localization = chooseLocalization(localizationsIn(directory), preferredLanguage);
  Result<StringsTable> table = readStringsTable(directory / (localization + ".lproj") / tableName);
  if (!table) return Error{table.error()};
  return SimLocalizer(std::move(localization), std::move(table.value()));
}

std::optional<std::string> SimLocalizer::localizedString(const std::string& key) const {
  if (const auto found = table_.find(key); found != table_.end()) return found->second;
  return std::nullopt;
}

}  // namespace wheelright::sim
