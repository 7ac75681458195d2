#include "platform/sim/sim_localizer.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <optional>
#include <sstream>
#include <system_error>

namespace wheelright::sim {
namespace {

constexpr std::string_view tableName = "Localizable.strings";
constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
// Far beyond any table of ours; a larger file is not one.
constexpr std::uintmax_t largestTable = 1 << 20;

std::string lineText(const std::filesystem::path& file, int line) {
  return line > 0 ? file.string() + ":" + std::to_string(line) : file.string();
}

// The length of the UTF-8 sequence at `at`, or 0 when it is not a well-formed one.
std::size_t utf8Length(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  char32_t value = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    value = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    value = lead & 0x0Fu;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    value = lead & 0x07u;
  } else {
    return 0;
  }
  if (at + length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0u) != 0x80u) return 0;
    value = (value << 6) | (byte(at + i) & 0x3Fu);
  }
  const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (value < smallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
    return 0;
  return length;
}

void appendUtf8(std::string& text, char32_t value) {
  if (value < 0x80) {
    text += static_cast<char>(value);
  } else if (value < 0x800) {
    text += static_cast<char>(0xC0 | (value >> 6));
    text += static_cast<char>(0x80 | (value & 0x3F));
  } else {
    text += static_cast<char>(0xE0 | (value >> 12));
    text += static_cast<char>(0x80 | ((value >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (value & 0x3F));
  }
}

class Parser {
 public:
  Parser(std::string_view content, const std::filesystem::path& file)
      : text_(content), file_(file) {
    if (text_.starts_with(byteOrderMark)) at_ = byteOrderMark.size();
  }

  StringsTable parse() {
    for (std::size_t i = at_; i < text_.size();) {
      const std::size_t length = utf8Length(text_, i);
      if (length == 0) fail(i, "not UTF-8");
      i += length;
    }
    StringsTable table;
    std::map<std::string, int, std::less<>> lines;
    for (skipSpace(); at_ < text_.size(); skipSpace()) {
      const std::size_t entry = at_;
      std::string key = quoted("a quoted key");
      if (key.empty()) fail(entry, "an empty key");
      expect('=', "= after the key");
      std::string value = quoted("a quoted text after =");
      if (value.empty()) fail(entry, "\"" + key + "\" has an empty text");
      expect(';', "; after the text");
      if (const auto first = lines.find(key); first != lines.end()) {
        fail(entry, "\"" + key + "\" is given twice (first on line " +
                        std::to_string(first->second) + ")");
      }
      lines.emplace(key, lineOf(entry));
      table.emplace(std::move(key), std::move(value));
    }
    return table;
  }

 private:
  [[noreturn]] void fail(std::size_t at, const std::string& reason) const {
    throw StringsTableError(file_, lineOf(at), reason);
  }
  int lineOf(std::size_t at) const {
    return 1 + static_cast<int>(std::count(text_.begin(),
                                           text_.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
  }

  void skipSpace() {
    while (at_ < text_.size()) {
      const char c = text_[at_];
      if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
        ++at_;
      } else if (text_.substr(at_, 2) == "//") {
        at_ = std::min(text_.find('\n', at_), text_.size());
      } else if (text_.substr(at_, 2) == "/*") {
        const std::size_t end = text_.find("*/", at_ + 2);
        if (end == std::string_view::npos) fail(at_, "a comment without its */");
        at_ = end + 2;
      } else {
        return;
      }
    }
  }

  void expect(char c, const char* what) {
    skipSpace();
    if (at_ >= text_.size() || text_[at_] != c) fail(at_, std::string("expected ") + what);
    ++at_;
    skipSpace();
  }

  std::string quoted(const char* what) {
    if (at_ >= text_.size() || text_[at_] != '"') fail(at_, std::string("expected ") + what);
    const std::size_t start = at_++;
    std::string value;
    while (at_ < text_.size() && text_[at_] != '"') {
      if (text_[at_] != '\\') {
        value += text_[at_++];
        continue;
      }
      const char escaped = at_ + 1 < text_.size() ? text_[at_ + 1] : '\0';
      at_ += 2;
      switch (escaped) {
        case '"':
        case '\\':
          value += escaped;
          break;
        case 'n':
          value += '\n';
          break;
        case 't':
          value += '\t';
          break;
        case 'r':
          value += '\r';
          break;
        case 'U':
          value += unicodeEscape();
          break;
        default:
          fail(at_ - 2, "an unknown escape \\" + std::string(1, escaped));
      }
    }
    if (at_ >= text_.size()) fail(start, "a string without its closing quote");
    ++at_;
    return value;
  }

  // \Uhhhh, the backslash and U already read: one UTF-16 unit, which must not be a surrogate.
  std::string unicodeEscape() {
    const std::size_t start = at_ - 2;
    char32_t value = 0;
    for (int i = 0; i < 4; ++i, ++at_) {
      const char d = at_ < text_.size() ? text_[at_] : '\0';
      if (std::isxdigit(static_cast<unsigned char>(d)) == 0) {
        fail(start, "\\U needs four hexadecimal digits");
      }
      value = value * 16 + static_cast<char32_t>(d <= '9' ? d - '0' : (d | 0x20) - 'a' + 10);
    }
    if (value == 0 || (value >= 0xD800 && value <= 0xDFFF)) fail(start, "\\U names no character");
    std::string utf8;
    appendUtf8(utf8, value);
    return utf8;
  }

  std::string_view text_;
  const std::filesystem::path& file_;
  std::size_t at_ = 0;
};

}  // namespace

StringsTableError::StringsTableError(const std::filesystem::path& file, int line,
                                     const std::string& reason)
    : std::runtime_error(lineText(file, line) + ": " + reason) {}

StringsTable parseStringsTable(std::string_view content, const std::filesystem::path& file) {
  return Parser(content, file).parse();
}

StringsTable readStringsTable(const std::filesystem::path& file) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error))
    throw StringsTableError(file, 0, "no such table");
  if (std::filesystem::file_size(file, error) > largestTable)
    throw StringsTableError(file, 0, "too large");
  std::ifstream in(file, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  if (!in) throw StringsTableError(file, 0, "cannot be read");
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

SimLocalizer::SimLocalizer(const std::filesystem::path& directory,
                           const std::string& preferredLanguage)
    : localization_(chooseLocalization(localizationsIn(directory), preferredLanguage)),
      chosen_(readStringsTable(directory / (localization_ + ".lproj") / tableName)) {
  // The fallback, unless it is the chosen table already.
  if (localization_ != developmentLocalization) {
    development_ =
        readStringsTable(directory / (std::string(developmentLocalization) + ".lproj") / tableName);
  }
}

std::optional<std::string> SimLocalizer::localizedString(const std::string& key) const {
  for (const StringsTable* table : {&chosen_, &development_}) {
    if (const auto found = table->find(key); found != table->end()) return found->second;
  }
  return std::nullopt;
}

}  // namespace wheelright::sim
