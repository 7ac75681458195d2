#include "platform/sim/file_user_defaults.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

namespace wheelright::sim {
namespace {

constexpr const char* fileHeader = "# Wheelright user defaults: one key=true|false a line\n";

std::string_view trimmed(std::string_view text) {
  const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
  return text;
}

// The stored values of a whole file, or none when one line is neither blank, a comment nor
// a boolean entry.
std::optional<std::map<std::string, bool>> parse(const std::string& text) {
  std::map<std::string, bool> values;
  std::istringstream lines(text);
  std::string raw;
  while (std::getline(lines, raw)) {
    const std::string_view line = trimmed(raw);
    if (line.empty() || line.front() == '#') continue;
    const std::size_t equals = line.rfind('=');
    if (equals == std::string_view::npos) return std::nullopt;
    const std::string_view key = trimmed(line.substr(0, equals));
    const std::string_view value = trimmed(line.substr(equals + 1));
    if (key.empty() || (value != "true" && value != "false")) return std::nullopt;
    values[std::string(key)] = value == "true";
  }
  return values;
}

bool writeAll(int fd, const std::string& text) {
  std::size_t written = 0;
  while (written < text.size()) {
    const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
    if (n < 0) return false;
    written += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

FileUserDefaults::FileUserDefaults(std::map<std::string, bool> stored)
    : stored_(std::move(stored)) {}

FileUserDefaults::FileUserDefaults(std::filesystem::path directory)
    : path_(std::move(directory) / fileName) {
  load();
}

std::filesystem::path FileUserDefaults::standardDirectory() {
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && *config != '\0') {
    return std::filesystem::path(config) / "wheelright";
  }
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    return std::filesystem::path(home) / ".config" / "wheelright";
  }
  return {};
}

void FileUserDefaults::registerDefaults(const std::map<std::string, bool>& defaults) {
  for (const auto& [key, value] : defaults) registered_[key] = value;
}

bool FileUserDefaults::boolForKey(const std::string& key) const {
  if (const auto stored = stored_.find(key); stored != stored_.end()) return stored->second;
  if (const auto registered = registered_.find(key); registered != registered_.end()) {
    return registered->second;
  }
  return false;
}

void FileUserDefaults::setBool(bool value, const std::string& key) {
  stored_[key] = value;
  write();
}

void FileUserDefaults::load() {
  std::error_code error;
  if (!std::filesystem::exists(path_, error)) return;
  std::ifstream file(path_, std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  const std::optional<std::map<std::string, bool>> values =
      file.is_open() && !file.bad() ? parse(text) : std::nullopt;
  if (values) {
    stored_ = *values;
  } else {
    moveDamagedFileAside();
  }
}

void FileUserDefaults::moveDamagedFileAside() {
  for (int n = 1;; ++n) {
    std::filesystem::path aside = path_;
    aside += ".damaged-" + std::to_string(n);
    std::error_code error;
    const bool isTaken = std::filesystem::exists(aside, error);
    if (error) break;
    if (isTaken) continue;
    std::filesystem::rename(path_, aside, error);
    if (error) break;
    movedTo_ = std::move(aside);
    return;
  }
  // What cannot be moved is not overwritten either: this store then writes nothing.
  isWritable_ = false;
}

void FileUserDefaults::write() const {
  if (path_.empty() || !isWritable_) return;
  std::error_code error;
  std::filesystem::create_directories(path_.parent_path(), error);
  if (error) return;

  std::string text = fileHeader;
  for (const auto& [key, value] : stored_) text += key + (value ? "=true\n" : "=false\n");

  std::string pattern = (path_.parent_path() / (std::string(".") + fileName + ".XXXXXX")).string();
  std::vector<char> temporary(pattern.begin(), pattern.end());
  temporary.push_back('\0');
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) return;
  const bool isWritten = writeAll(fd, text) && ::fsync(fd) == 0;
  const bool isClosed = ::close(fd) == 0;
  if (!isWritten || !isClosed || std::rename(temporary.data(), path_.c_str()) != 0) {
    ::unlink(temporary.data());
    return;
  }
  // The rename itself reaches the disk with the folder.
  if (const int folder = ::open(path_.parent_path().c_str(), O_RDONLY); folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
}

}  // namespace wheelright::sim
