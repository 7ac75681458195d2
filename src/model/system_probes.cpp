#include "model/system_probes.h"

#include <string>
#include <type_traits>
#include <variant>

namespace wheelright {

bool preferenceBoolValue(const PreferenceValue& value) {
  return std::visit(
      [](const auto& v) -> bool {
        using V = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<V, bool>) {
          return v;
        } else if constexpr (std::is_same_v<V, std::int64_t>) {
          return v != 0;
        } else if constexpr (std::is_same_v<V, double>) {
          return v != 0.0;  // NSNumber boolValue; NaN is nonzero
        } else {
          return true;  // absent or of another kind: leave natural scrolling counted as on
        }
      },
      value);
}

bool readNaturalScrollEnabled(SystemServices& system) {
  static const std::string key(naturalScrollPreferenceKey);
  return preferenceBoolValue(system.copyPreferenceValue(key));
}

bool readAccessibilityTrusted(SystemServices& system) { return system.isProcessTrusted(); }

bool isLoginItemEnabled(SystemServices& system) {
  return system.mainAppServiceStatus() == LoginItemStatus::enabled;
}

void promptForAccessibilityTrust(SystemServices& system) {
  (void)system.isProcessTrustedWithOptions(true);
}

void openAccessibilitySettings(SystemServices& system) {
  // No fallback: a refused pane leaves the user where they were.
  (void)system.openURL(std::string(accessibilityPaneAddress));
}

void openNaturalScrollSettings(SystemServices& system) {
  if (system.openURL(std::string(trackpadPaneAddress)) == OpenURLResult::opened) return;
  system.openApplication(std::string(settingsApplicationPath));
}

void quitApplication(SystemServices& system) { system.terminate(); }

Result<> updateLoginItemRegistration(SystemServices& system, bool requested) {
  const bool isEnabled = system.mainAppServiceStatus() == LoginItemStatus::enabled;
  if (requested == isEnabled) return {};
  return requested ? system.registerMainAppService() : system.unregisterMainAppService();
}

}  // namespace wheelright
