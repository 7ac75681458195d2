#include "platform/sim/file_user_defaults.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
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

// The boolean entry that one line holds, if it holds one.
std::optional<std::pair<std::string, bool>> entry(std::string_view line) {
  const std::size_t equals = line.rfind('=');
  if (equals == std::string_view::npos) return std::nullopt;
  const std::string_view key = trimmed(line.substr(0, equals));
  const std::string_view value = trimmed(line.substr(equals + 1));
  if (key.empty() || (value != "true" && value != "false")) return std::nullopt;
  return std::pair{std::string(key), value == "true"};
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
  if (!file.is_open() || file.bad()) {
    isDamaged_ = true;  // unreadable: nothing of it is known, so all of it is kept
    return;
  }
  std::istringstream lines(text);
  std::string raw;
  while (std::getline(lines, raw)) {
    const std::string_view line = trimmed(raw);
    if (line.empty() || line.front() == '#') continue;
    if (auto value = entry(line)) {
      stored_[value->first] = value->second;
    } else {
      ++skippedLines_;
    }
  }
  isDamaged_ = skippedLines_ > 0;
}

bool FileUserDefaults::moveDamagedFileAside(std::string& failure) {
  for (int n = 1;; ++n) {
    std::filesystem::path aside = path_;
    aside += ".damaged-" + std::to_string(n);
    std::error_code error;
    const bool isTaken = std::filesystem::exists(aside, error);
    if (!error && isTaken) continue;
    if (!error) std::filesystem::rename(path_, aside, error);
    if (error) {
      failure = "cannot keep the damaged file aside as " + aside.string() + ": " + error.message();
      return false;
    }
    movedTo_ = std::move(aside);
    return true;
  }
}

void FileUserDefaults::report(const std::string& failure) {
  if (failure == reportedFailure_) return;
  reportedFailure_ = failure;
  if (!failure.empty()) {
    std::fprintf(stderr, "wheelright: settings not saved to %s: %s\n", path_.c_str(), failure.c_str());
  }
}

void FileUserDefaults::write() {
  if (path_.empty()) return;
  std::string failure;
  const auto failed = [&failure](std::string what, int code) {
    failure = std::move(what) + ": " + std::generic_category().message(code);
    return false;
  };
  const auto writeFile = [&]() -> bool {
    std::error_code error;
    std::filesystem::create_directories(path_.parent_path(), error);
    if (error) return failed("cannot make the folder", error.value());
    // What cannot be kept aside is not overwritten either.
    if (isDamaged_ && std::filesystem::exists(path_, error)) {
      if (!moveDamagedFileAside(failure)) return false;
    }
    isDamaged_ = false;

    std::string text = fileHeader;
    for (const auto& [key, value] : stored_) text += key + (value ? "=true\n" : "=false\n");

    std::string pattern = (path_.parent_path() / (std::string(".") + fileName + ".XXXXXX")).string();
    std::vector<char> temporary(pattern.begin(), pattern.end());
    temporary.push_back('\0');
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) return failed("cannot make a temporary file", errno);
    const bool isWritten = writeAll(fd, text) && ::fsync(fd) == 0;
    const int writeError = errno;
    const bool isClosed = ::close(fd) == 0;
    if (!isWritten || !isClosed) {
      const int code = isWritten ? errno : writeError;
      ::unlink(temporary.data());
      return failed("cannot write the temporary file", code);
    }
    if (std::rename(temporary.data(), path_.c_str()) != 0) {
      const int code = errno;
      ::unlink(temporary.data());
      return failed("cannot replace the file", code);
    }
    // The rename itself reaches the disk with the folder.
    if (const int folder = ::open(path_.parent_path().c_str(), O_RDONLY); folder >= 0) {
      ::fsync(folder);
      ::close(folder);
    }
    return true;
  };
  report(writeFile() ? std::string() : failure);
}

}  // namespace wheelright::sim
