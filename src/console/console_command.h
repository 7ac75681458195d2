#pragma once
// One line of console input as a command: parsing checks the words and numbers only; whether a
// command is allowed now (an alert open, a tap installed) is decided when it runs.

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "base/result.h"
#include "platform/sim/sim_event.h"
#include "platform/sim/sim_event_taps.h"
#include "platform/sim/sim_updater.h"
#include "platform/system_services.h"

namespace wheelright::console {

// An empty line or a comment.
struct Nothing {
  friend bool operator==(const Nothing&, const Nothing&) = default;
};
struct ShowMenu {
  friend bool operator==(const ShowMenu&, const ShowMenu&) = default;
};
// The n-th choosable entry (from 1), or the entry with this label.
struct Choose {
  std::variant<std::size_t, std::string> entry;
  friend bool operator==(const Choose&, const Choose&) = default;
};
struct KeyEquivalentPress {
  char key = 0;  // with the command modifier
  friend bool operator==(const KeyEquivalentPress&, const KeyEquivalentPress&) = default;
};
// The Escape key: in an open alert, the button that Escape belongs to.
struct EscapeKey {
  friend bool operator==(const EscapeKey&, const EscapeKey&) = default;
};
struct PressButton {
  std::size_t button = 0;  // from 1
  friend bool operator==(const PressButton&, const PressButton&) = default;
};
struct Respond {
  long code = 0;
  friend bool operator==(const Respond&, const Respond&) = default;
};
struct Inject {
  sim::SimEvent event;
  friend bool operator==(const Inject&, const Inject&) = default;
};
struct SetNatural {
  PreferenceValue value;
  friend bool operator==(const SetNatural&, const SetNatural&) = default;
};
struct SetTrust {
  bool isTrusted = false;
  friend bool operator==(const SetTrust&, const SetTrust&) = default;
};
struct SetTapFailure {
  sim::SimEventTaps::CreationFailure failure = sim::SimEventTaps::CreationFailure::none;
  friend bool operator==(const SetTapFailure&, const SetTapFailure&) = default;
};
struct DisableTap {
  sim::SimEventTaps::DisableReason reason = sim::SimEventTaps::DisableReason::silent;
  friend bool operator==(const DisableTap&, const DisableTap&) = default;
};
struct DeafenTap {
  friend bool operator==(const DeafenTap&, const DeafenTap&) = default;
};
// system sleep or system wake.
struct SetAsleep {
  bool isAsleep = false;
  friend bool operator==(const SetAsleep&, const SetAsleep&) = default;
};
// session off or session on: fast user switching away and back.
struct SetSessionActive {
  bool isActive = true;
  friend bool operator==(const SetSessionActive&, const SetSessionActive&) = default;
};
struct SetOpensURLs {
  bool opens = true;
  friend bool operator==(const SetOpensURLs&, const SetOpensURLs&) = default;
};
struct SetAnotherCopy {
  bool isRunning = false;
  friend bool operator==(const SetAnotherCopy&, const SetAnotherCopy&) = default;
};
struct SetLoginStatus {
  LoginItemStatus status = LoginItemStatus::notRegistered;
  friend bool operator==(const SetLoginStatus&, const SetLoginStatus&) = default;
};
struct FailLoginChange {
  std::string text;
  friend bool operator==(const FailLoginChange&, const FailLoginChange&) = default;
};
struct SetUpdateFeed {
  sim::SimUpdater::FeedAnswer answer;
  friend bool operator==(const SetUpdateFeed&, const SetUpdateFeed&) = default;
};
// Whether the next launch finds an updater; only a start option sets it.
struct SetOffersUpdates {
  bool offers = true;
  friend bool operator==(const SetOffersUpdates&, const SetOffersUpdates&) = default;
};
struct Wait {
  double seconds = 0;
  friend bool operator==(const Wait&, const Wait&) = default;
};
struct Relaunch {
  friend bool operator==(const Relaunch&, const Relaunch&) = default;
};
struct ShowState {
  friend bool operator==(const ShowState&, const ShowState&) = default;
};
struct ShowDefaults {
  friend bool operator==(const ShowDefaults&, const ShowDefaults&) = default;
};
struct Help {
  friend bool operator==(const Help&, const Help&) = default;
};
// quit or exit: the console session ends, as at the end of input.
struct Quit {
  friend bool operator==(const Quit&, const Quit&) = default;
};

using Command =
    std::variant<Nothing, ShowMenu, Choose, KeyEquivalentPress, EscapeKey, PressButton, Respond,
                 Inject, SetNatural, SetTrust, SetTapFailure, DisableTap, DeafenTap, SetAsleep,
                 SetSessionActive, SetOpensURLs, SetAnotherCopy, SetLoginStatus, FailLoginChange,
                 SetUpdateFeed, SetOffersUpdates, Wait, Relaunch, ShowState, ShowDefaults, Help,
                 Quit>;

// The command, or what is wrong with the line (shown after "error: ").
Result<Command> parseCommand(std::string_view line);

// The longest wait accepted at once, a day.
inline constexpr double longestWait = 86400;

// One line per command: how it is written and what it does.
const std::vector<std::string>& commandUsages();

}  // namespace wheelright::console
