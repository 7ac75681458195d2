#include "platform/sim/file_user_defaults.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "base/scope_exit.h"

namespace wheelright::sim {
namespace fs = std::filesystem;
namespace {

constexpr const char* fileHeader = "# Wheelright user defaults: one key=true|false a line\n";
constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
// Ours alone, so that a start can remove what a killed write left.
constexpr std::string_view temporaryPrefix = ".defaults.txt.tmp-";
constexpr std::string_view temporarySuffix = "XXXXXX";

std::string_view trimmed(std::string_view text) {
  const auto isSpace = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
  return text;
}

// A key must survive being written back as `key=value` and read again: no space or control
// character that trimming or a line break would eat.
bool isStorableKey(std::string_view key) {
  if (key.empty()) return false;
  return std::none_of(key.begin(), key.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte <= ' ' || byte == 0x7F;
  });
}

// The boolean entry that one line holds, if it holds one. Split at the first `=`, so that a key
// never holds one: `a=b=true` is a damaged line, not the key `a=b`.
std::optional<std::pair<std::string, bool>> entry(std::string_view line) {
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  const std::string_view key = trimmed(line.substr(0, equals));
  const std::string_view value = trimmed(line.substr(equals + 1));
  if (!isStorableKey(key) || (value != "true" && value != "false")) return std::nullopt;
  return std::pair{std::string(key), value == "true"};
}

// Splits at LF, CR LF and a lone CR alike: an editor on any system may have saved the file.
template <typename F>
void forEachLine(std::string_view text, F body) {
  while (!text.empty()) {
    const std::size_t end = text.find_first_of("\r\n");
    body(text.substr(0, end));
    if (end == std::string_view::npos) break;
    const std::size_t next = text.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1;
    text.remove_prefix(next);
  }
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

Error because(std::string what, int code) {
  return Error{std::move(what) + ": " + std::strerror(code)};
}

const char* kindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a directory";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  if (S_ISSOCK(mode)) return "a socket";
  return "something else";
}

// The file a path names once its symbolic links are followed, whether or not that file exists.
fs::path resolved(fs::path path) {
  std::error_code error;
  for (int hops = 0; hops < 40 && fs::is_symlink(path, error); ++hops) {
    const fs::path link = fs::read_symlink(path, error);
    if (error) break;
    path = link.is_absolute() ? link : path.parent_path() / link;
  }
  return path;
}

}  // namespace

void SimUserDefaults::registerDefaults(const std::map<std::string, bool>& defaults) {
  for (const auto& [key, value] : defaults) registered_[key] = value;
}

bool SimUserDefaults::boolForKey(const std::string& key) const {
  if (const auto stored = stored_.find(key); stored != stored_.end()) return stored->second;
  if (const auto registered = registered_.find(key); registered != registered_.end()) {
    return registered->second;
  }
  return false;
}

FileUserDefaults::FileUserDefaults(const fs::path& directory, Tell tell, WriteFunction write)
    : path_(directory / fileName),
      tell_(tell ? std::move(tell) : [](const std::string&) {}),
      write_(write ? std::move(write) : writeAll) {
  removeLeftoverTemporaryFiles();
  open();
}

void FileUserDefaults::relaunch() {
  SimUserDefaults::relaunch();
  if (isUsable_) open();
}

void FileUserDefaults::open() {
  if (const Result<> done = read(); !done) {
    isUsable_ = false;
    tell_("settings not read from " + path_.string() + ": " + done.error() +
          "; kept in memory for this run");
    return;
  }
  if (damagedLines_.empty()) return;
  // A file of a million bad lines still gets one short line here.
  constexpr std::size_t listed = 5;
  std::string numbers;
  for (std::size_t i = 0; i < damagedLines_.size() && i < listed; ++i) {
    numbers += (i == 0 ? "" : ", ") + std::to_string(damagedLines_[i]);
  }
  if (damagedLines_.size() > listed) numbers += ", ...";
  tell_("settings in " + path_.string() + ": " + std::to_string(damagedLines_.size()) +
        (damagedLines_.size() == 1 ? " damaged line" : " damaged lines") + " skipped (line " +
        numbers + "); the file is kept aside at the next change");
}

fs::path FileUserDefaults::standardDirectory() {
  if (const char* config = std::getenv("XDG_CONFIG_HOME");
      config != nullptr && fs::path(config).is_absolute()) {
    return fs::path(config) / "wheelright";
  }
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    return fs::path(home) / ".config" / "wheelright";
  }
  return {};
}

void FileUserDefaults::setBool(bool value, const std::string& key) {
  unsaved_[key] = value;
  stored_[key] = value;
  if (!isUsable_) return;
  const Result<> written = write();
  if (written) unsaved_.clear();
  if (!written && !isFailureTold_) {
    tell_("settings not saved to " + path_.string() + ": " + written.error());
  }
  isFailureTold_ = !written;
}

Result<> FileUserDefaults::read() {
  // O_NONBLOCK: opening a FIFO must not wait for a writer.
  const int fd = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0 && errno == ENOENT) {
    stored_ = unsaved_;
    damagedLines_.clear();
    return {};
  }
  if (fd < 0) return because("cannot open it", errno);
  const ScopeExit closing([fd] { ::close(fd); });
  struct stat status {};
  if (::fstat(fd, &status) != 0) return because("cannot read it", errno);
  if (!S_ISREG(status.st_mode)) {
    return Error{std::string("it is ") + kindOf(status.st_mode) + ", not a regular file"};
  }

  // Counted as it is read, so that a file growing meanwhile cannot exhaust memory either.
  std::string text;
  char chunk[4096];
  for (ssize_t n; (n = ::read(fd, chunk, sizeof chunk)) != 0;) {
    if (n < 0) return because("cannot read it", errno);
    text.append(chunk, static_cast<std::size_t>(n));
    if (text.size() > maximumFileSize) return Error{"it is larger than 1 MiB"};
  }
  if (text.starts_with(byteOrderMark)) text.erase(0, byteOrderMark.size());

  std::map<std::string, bool> values;
  std::vector<int> damaged;
  int number = 0;
  forEachLine(text, [&](std::string_view raw) {
    ++number;
    const std::string_view line = trimmed(raw);
    if (line.empty() || line.front() == '#') return;
    if (auto value = entry(line)) {
      values[value->first] = value->second;
    } else {
      damaged.push_back(number);
    }
  });
  for (const auto& [key, value] : unsaved_) values[key] = value;
  stored_ = std::move(values);
  damagedLines_ = std::move(damaged);
  return {};
}

void FileUserDefaults::removeLeftoverTemporaryFiles() const {
  for (const fs::path& folder : {path_.parent_path(), resolved(path_).parent_path()}) {
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
      const std::string name = it->path().filename().string();
      if (name.size() == temporaryPrefix.size() + temporarySuffix.size() &&
          name.starts_with(temporaryPrefix)) {
        std::error_code ignored;
        fs::remove(it->path(), ignored);
      }
    }
  }
}

// The file stays as it was until the last step, the rename of a complete, flushed file over it.
Result<> FileUserDefaults::write() {
  // The other keys come from the file as it is now, so edits made meanwhile are kept.
  if (Result<> done = read(); !done) return done;

  // A symbolic link stays and its target gets the new file.
  const fs::path target = resolved(path_);
  std::error_code error;
  fs::create_directories(target.parent_path(), error);
  if (error) return Error{"cannot make the folder: " + error.message()};
  struct stat status {};
  const mode_t mode = ::stat(target.c_str(), &status) == 0 ? status.st_mode & 07777 : 0600;

  std::string text = fileHeader;
  for (const auto& [key, value] : stored_) text += key + (value ? "=true\n" : "=false\n");
  std::string pattern = (target.parent_path() / temporaryPrefix).string();
  pattern += temporarySuffix;
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) return because("cannot make a temporary file", errno);
  // Whatever stops the write before the rename, the temporary file goes.
  bool isRenamed = false;
  const ScopeExit removing([&] {
    if (!isRenamed) ::unlink(pattern.c_str());
  });
  const bool isWritten = write_(fd, text) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
  const int writeError = errno;
  const bool isClosed = ::close(fd) == 0;
  if (!isWritten || !isClosed) {
    return because("cannot write the temporary file", isWritten ? errno : writeError);
  }

  // A damaged original keeps its bytes under a second name; the rename then replaces only a name.
  fs::path aside;  // empty while there is nothing kept aside
  if (!damagedLines_.empty()) {
    for (int n = 1; aside.empty(); ++n) {
      fs::path name = target;
      name += ".damaged-" + std::to_string(n);
      if (::link(target.c_str(), name.c_str()) == 0) {
        aside = std::move(name);
      } else if (errno != EEXIST) {
        return because("cannot keep the damaged file aside as " + name.string(), errno);
      }
    }
  }
  if (std::rename(pattern.c_str(), target.c_str()) != 0) {
    const int code = errno;
    if (!aside.empty()) ::unlink(aside.c_str());
    return because("cannot replace it", code);
  }
  isRenamed = true;
  if (!aside.empty()) tell_("the damaged settings file is kept as " + aside.string());
  damagedLines_.clear();
  // The rename itself reaches the disk with the folder.
  if (const int folder = ::open(target.parent_path().c_str(), O_RDONLY | O_CLOEXEC); folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
  return {};
}

}  // namespace wheelright::sim
