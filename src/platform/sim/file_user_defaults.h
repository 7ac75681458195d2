#pragma once
// The simulator's user defaults store (NSUserDefaults). Registered defaults live in memory only;
// stored values live in one file that every setBool rewrites whole and atomically (a temporary
// file in the same folder, flushed to disk, then renamed over the old one).
//
// File format (UTF-8): one `key=true` or `key=false` a line, split at the last `=`; blank lines
// and lines beginning with `#` are ignored. The file is read key by key: a line of any other form
// is skipped and every other value kept. Such a file is damaged, so before the first write
// replaces it, it is moved aside under a name not yet taken (`defaults.txt.damaged-<n>`); it is
// never deleted or overwritten. A write that fails is reported on standard error, once.

#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "platform/user_defaults.h"

namespace wheelright::sim {

class FileUserDefaults final : public UserDefaults {
 public:
  static constexpr const char* fileName = "defaults.txt";

  // A store that keeps its stored values in memory only.
  explicit FileUserDefaults(std::map<std::string, bool> stored = {});
  // The store of <directory>/defaults.txt, read now; the folder is made on the first write.
  explicit FileUserDefaults(std::filesystem::path directory);

  // $XDG_CONFIG_HOME/wheelright, else $HOME/.config/wheelright; empty when neither is set.
  static std::filesystem::path standardDirectory();

  void registerDefaults(const std::map<std::string, bool>& defaults) override;
  bool boolForKey(const std::string& key) const override;
  void setBool(bool value, const std::string& key) override;

  // Every key that holds a stored value, those Wheelright never sets included.
  const std::map<std::string, bool>& storedValues() const { return stored_; }
  // Empty for a store in memory.
  const std::filesystem::path& filePath() const { return path_; }
  // The lines of the file that were skipped when it was read.
  int skippedLineCount() const { return skippedLines_; }
  // Where the damaged file was moved before the first write, if it was.
  const std::optional<std::filesystem::path>& damagedFileMovedTo() const { return movedTo_; }

 private:
  void load();
  // False, with the reason, when the damaged file could not be moved out of the way.
  bool moveDamagedFileAside(std::string& failure);
  void write();
  // One line on standard error for each new failure; a success lets the next one be told again.
  void report(const std::string& failure);

  std::filesystem::path path_;
  std::map<std::string, bool> registered_;
  std::map<std::string, bool> stored_;
  int skippedLines_ = 0;
  bool isDamaged_ = false;  // the file on disk is to be kept aside before it is replaced
  std::optional<std::filesystem::path> movedTo_;
  std::string reportedFailure_;
};

}  // namespace wheelright::sim
