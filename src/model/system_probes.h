#pragma once
// The application's contact with the system outside the scroll tap: the natural-scrolling and
// Accessibility-trust probes, the login-item probe and registration, the trust prompt, the two
// System Settings panes and quitting. Stateless; main thread; none of them reports to the user.

#include <string_view>

#include "platform/system_services.h"

namespace wheelright {

inline constexpr std::string_view accessibilityPaneAddress =
    "x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility";
inline constexpr std::string_view trackpadPaneAddress =
    "x-apple.systempreferences:com.apple.Trackpad-Settings.extension";
inline constexpr std::string_view settingsApplicationPath = "/System/Applications/System Settings.app";

// Absent and odd kinds count as on; only a false boolean or a zero number reads as off.
bool preferenceBoolValue(const PreferenceValue& value);

bool readNaturalScrollEnabled(SystemServices& system);
bool readAccessibilityTrusted(SystemServices& system);
// Registered and enabled; waiting for approval counts as not enabled.
bool isLoginItemEnabled(SystemServices& system);

// The system's own trust prompt, shown only while the process is untrusted.
void promptForAccessibilityTrust(SystemServices& system);
// The Accessibility privacy pane; a refusal is ignored.
void openAccessibilitySettings(SystemServices& system);
// The trackpad pane, falling back to launching System Settings when it cannot be opened.
void openNaturalScrollSettings(SystemServices& system);
void quitApplication(SystemServices& system);

// Registers or unregisters the login item when its state differs from the request; at most one
// call. Answers the platform's failure, if any.
Result<> updateLoginItemRegistration(SystemServices& system, bool requested);

}  // namespace wheelright
