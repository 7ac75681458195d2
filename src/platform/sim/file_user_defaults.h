#pragma once
// The simulator's user defaults stores (NSUserDefaults): registered defaults live in memory only;
// stored values live in a file or, for a run without one, in memory.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/result.h"
#include "platform/user_defaults.h"

namespace wheelright::sim {

// What the simulator's stores share: the values they hold and whether those reach a file.
class SimUserDefaults : public UserDefaults {
 public:
  void registerDefaults(const std::map<std::string, bool>& defaults) override;
  bool boolForKey(const std::string& key) const override;

  // Every key that holds a stored value, those Wheelright never sets included.
  const std::map<std::string, bool>& storedValues() const { return stored_; }
  // False while the values are kept in memory only.
  virtual bool isStored() const = 0;
  // As a new launch in the same process finds the store: no registered defaults.
  virtual void relaunch() { registered_.clear(); }

 protected:
  std::map<std::string, bool> registered_;
  std::map<std::string, bool> stored_;
};

// Stored values that last as long as the process: tests, and a run with no home directory.
class MemoryUserDefaults final : public SimUserDefaults {
 public:
  void setBool(bool value, const std::string& key) override { stored_[key] = value; }
  bool isStored() const override { return false; }
};

// The store of <directory>/defaults.txt: one `key=true|false` a line (see the README, "Where the
// settings live"). Every setBool re-reads the file and replaces it whole, or leaves it as it was.
class FileUserDefaults final : public SimUserDefaults {
 public:
  static constexpr const char* fileName = "defaults.txt";
  static constexpr std::uintmax_t maximumFileSize = 1 << 20;
  // Writes all of the text to the open file, or returns false with errno set.
  using WriteFunction = std::function<bool(int fd, const std::string& text)>;
  // Takes one line for the user each time the store falls back (a file left alone or kept aside,
  // damaged lines skipped, a write that failed); the application shows it.
  using Tell = std::function<void(const std::string& line)>;

  // Reads the file now and removes temporary files that earlier runs left; the folder is made
  // on the first write. `write` stands in for the disk in tests.
  FileUserDefaults(const std::filesystem::path& directory, Tell tell, WriteFunction write = {});

  // $XDG_CONFIG_HOME/wheelright (absolute only), else $HOME/.config/wheelright; else empty.
  static std::filesystem::path standardDirectory();

  void setBool(bool value, const std::string& key) override;
  // The file is read again; values that never reached it stay.
  void relaunch() override;
  // False when the file could not be used at start or the last write failed.
  bool isStored() const override { return isUsable_ && unsaved_.empty(); }

  // The numbers (from 1) of the lines skipped as damaged when the file was last read.
  const std::vector<int>& damagedLines() const { return damagedLines_; }

 private:
  // Fails with the reason when the file cannot be used; an absent file reads as empty.
  Result<> read();
  // Reads the file, or keeps the values in memory for the rest of the run.
  void open();
  Result<> write();
  void removeLeftoverTemporaryFiles() const;

  std::filesystem::path path_;
  Tell tell_;
  WriteFunction write_;
  bool isUsable_ = true;                 // false: the file was left alone for the whole run
  std::map<std::string, bool> unsaved_;  // set since the last write that reached the file
  std::vector<int> damagedLines_;
  bool isFailureTold_ = false;  // told once; a write that succeeds lets the next one be told
};

}  // namespace wheelright::sim
