#pragma once
// The application's per-user key-value store (NSUserDefaults): registered defaults answer for
// keys that hold no stored value and are never persisted; setBool persists at once. Main thread.

#include <map>
#include <string>

namespace wheelright {

class UserDefaults {
 public:
  virtual ~UserDefaults() = default;

  // registerDefaults: replaces the registered value of each key given.
  virtual void registerDefaults(const std::map<std::string, bool>& defaults) = 0;
  // boolForKey: the stored value, else the registered default, else false.
  virtual bool boolForKey(const std::string& key) const = 0;
  // setBool:forKey:
  virtual void setBool(bool value, const std::string& key) = 0;
};

}  // namespace wheelright
