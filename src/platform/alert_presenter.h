#pragma once
// Modal alerts (NSAlert) and bringing the application to the front. Main thread only.

#include <string>
#include <vector>

namespace wheelright {

// NSAlertStyle raw values.
enum class AlertStyle { warning = 0, informational = 1, critical = 2 };

struct AlertContent {
  AlertStyle style = AlertStyle::warning;
  std::string messageText;
  std::string informativeText;
  std::string iconSymbolName;  // a system symbol
  std::string iconAccessibilityDescription;
  std::vector<std::string> buttonTitles;  // in the order added
  friend bool operator==(const AlertContent&, const AlertContent&) = default;
};

// NSAlertFirstButtonReturn; the n-th button answers 1000 + n - 1.
inline constexpr long alertFirstButtonReturn = 1000;

class AlertPresenter {
 public:
  virtual ~AlertPresenter() = default;

  // Brings the application forward for an alert: NSApplication activateIgnoringOtherApps:YES,
  // or activate where the system (macOS 14 and later) activates cooperatively.
  virtual void activateIgnoringOtherApps() = 0;
  // Runs the alert modally and answers its modal response code. The alert comes to the front
  // and takes the keyboard even where activation was refused. Escape presses the last button; a
  // lone button keeps Return, which it would lose.
  virtual long runModal(const AlertContent& alert) = 0;
};

}  // namespace wheelright
