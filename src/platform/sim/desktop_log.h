#pragma once
// What the simulated desktop records: the ordered platform calls made to it, the lines it shows
// itself (the icon and system notices; the console prints alerts and events), and faults, that
// is misuse of a handle that a real system would crash on. Faults abort the process unless a
// test asks to collect them.

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
  // Misuse of the platform, e.g. a handle released once too often.
  void fault(std::string what);

  const std::vector<std::string>& calls() const { return calls_; }
  const std::vector<std::string>& output() const { return output_; }
  const std::vector<std::string>& faults() const { return faults_; }
  // Forgets the calls and lines so far (faults stay).
  void clear();
  // The process has ended: from now on nothing is recorded or shown.
  void close() { isClosed_ = true; }

  // A long interactive run keeps nothing; the listener still sees every shown line.
  void setKeepsHistory(bool keeps) { keepsHistory_ = keeps; }
  void setOutputListener(OutputListener listener) { listener_ = std::move(listener); }
  // With false, faults are only collected, so that a test can look at them.
  void setAbortsOnFault(bool aborts) { abortsOnFault_ = aborts; }

 private:
  std::vector<std::string> calls_;
  std::vector<std::string> output_;
  std::vector<std::string> faults_;
  OutputListener listener_;
  bool keepsHistory_ = true;
  bool isClosed_ = false;
  bool abortsOnFault_ = true;
};

}  // namespace wheelright::sim
