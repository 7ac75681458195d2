#pragma once
// Every text the application shows, named: the code asks for a text by name and the platform's
// localizer finds its wording in the user's language. Formats take their arguments as %@ or %n$@.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/localizer.h"

namespace wheelright {

enum class Text {
  statusActive,
  statusPaused,
  statusNaturalScrollRequired,
  statusPermissionRequired,
  statusError,
  statusWarningLine,
  menuNaturalScrollOff,
  menuOpenTrackpadSettings,
  menuAllowAccessibility,
  menuLaunchAtLogin,
  menuCheckForUpdates,
  menuQuit,
  alertOnboardingTitle,
  alertNaturalScrollOffTitle,
  alertPermissionTitle,
  alertChecklist,
  alertItemDone,
  alertItemMissing,
  alertChecklistIcon,
  alertOpenTrackpadButton,
  alertOpenAccessibilityButton,
  alertDoneButton,
  alertLaterButton,
  errorCouldNotCreateTap,
  trustHint,
};

struct TextKey {
  std::string_view key;  // the key in every Localizable.strings
  int argumentCount;     // placeholders of a format; 0 for a text shown as it stands
};

// Every text of the application: one row per Text, in the enumeration's order, then the labels of
// the switches (scrollSwitches).
std::span<const TextKey> textKeys();
const TextKey& textKey(Text text);

// The text in the user's language.
std::string localized(const Localizer& localizer, Text text);
// The text of this key in the user's language.
std::string localized(const Localizer& localizer, std::string_view key);
// A format in the user's language with its placeholders filled.
std::string localized(const Localizer& localizer, Text text,
                      const std::vector<std::string>& arguments);

// Fills %@ (the next argument), %n$@ (the n-th, from 1) and %% (a percent sign). A placeholder
// without its argument stays as written, so a faulty translation shows, not crashes.
std::string formatText(std::string_view format, const std::vector<std::string>& arguments);
// The argument numbers that a format's placeholders refer to, in order of appearance: "%@ %@" and
// "%1$@ %2$@" both give 1 2.
std::vector<int> placeholderNumbers(std::string_view format);

}  // namespace wheelright
