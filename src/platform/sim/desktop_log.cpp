#include "platform/sim/desktop_log.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace wheelright::sim {

void DesktopLog::call(std::string line) {
  if (keepsHistory_ && !isClosed_) calls_.push_back(std::move(line));
}

void DesktopLog::show(std::string line) {
  if (isClosed_) return;
  if (listener_) listener_(line);
  if (keepsHistory_) output_.push_back(std::move(line));
}

void DesktopLog::fault(const std::string& what) {
  std::fprintf(stderr, "simulated desktop: %s\n", what.c_str());
  std::abort();
}

void DesktopLog::clear() {
  calls_.clear();
  output_.clear();
}

}  // namespace wheelright::sim
