#pragma once
// What the simulated desktop records: the ordered platform calls made to it, the lines it shows
// itself (the icon and system notices; the console prints alerts and events). Misuse of the
// platform that a real system would crash on ends the process here too.

#include <functional>
#include <string>
#include <vector>

namespace wheelright::sim {

class DesktopLog {
 public:
  using OutputListener = std::function<void(const std::string& line)>;

  // One platform call, e.g. "tapEnable true".
  void call(std::string line);
  // One line that the desktop shows, e.g. "icon: pause.circle".
  void show(std::string line);
  // Misuse of the platform, e.g. a handle released once too often: said, then abort.
  [[noreturn]] static void fault(const std::string& what);

  const std::vector<std::string>& calls() const { return calls_; }
  const std::vector<std::string>& output() const { return output_; }
  // Forgets the calls and lines so far.
  void clear();
  // The process has ended: from now on nothing is recorded or shown.
  void close() { isClosed_ = true; }

  // A long interactive run keeps nothing; the listener still sees every shown line.
  void setKeepsHistory(bool keeps) { keepsHistory_ = keeps; }
  void setOutputListener(OutputListener listener) { listener_ = std::move(listener); }

 private:
  std::vector<std::string> calls_;
  std::vector<std::string> output_;
  OutputListener listener_;
  bool keepsHistory_ = true;
  bool isClosed_ = false;
};

}  // namespace wheelright::sim
