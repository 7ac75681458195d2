#pragma once
// The simulator's user defaults store (NSUserDefaults). Registered defaults live in memory only;
// stored values live in one file that every setBool rewrites whole and atomically (a temporary
// file in the same folder, flushed to disk, then renamed over the old one). A file that cannot
// be parsed is moved aside under a name not yet taken, never deleted or overwritten.
//
// File format (UTF-8): one `key=true` or `key=false` a line, split at the last `=`; blank lines
// and lines beginning with `#` are ignored; any other line makes the file damaged.

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
  // Where a damaged file was moved when the store was read, if it was.
  const std::optional<std::filesystem::path>& damagedFileMovedTo() const { return movedTo_; }

 private:
  void load();
  void moveDamagedFileAside();
  void write() const;

  std::filesystem::path path_;
  std::map<std::string, bool> registered_;
  std::map<std::string, bool> stored_;
  std::optional<std::filesystem::path> movedTo_;
  bool isWritable_ = true;  // false when a damaged file could not be moved out of the way
};

}  // namespace wheelright::sim
