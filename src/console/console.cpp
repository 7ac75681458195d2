#include "console/console.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <optional>
#include <type_traits>
#include <utility>
#include <variant>

#include "console/desktop_text.h"
#include "console/start_options.h"
#include "menubar/status_look.h"

namespace wheelright::console {

int pollMilliseconds(std::optional<double> timeoutSeconds) {
  if (!timeoutSeconds) return -1;
  return static_cast<int>(std::ceil(std::min(*timeoutSeconds, 86400.0) * 1000));
}

std::string outputFailureText(int error) {
  return std::string("wheelright: cannot write the output: ") +
         (error != 0 ? std::strerror(error) : "write error");
}

ConsoleInput::Status StreamInput::read(std::string& line, std::optional<double>) {
  return std::getline(in_, line) ? Status::line : Status::end;
}

ConsoleInput::Status TerminalInput::read(std::string& line, std::optional<double> timeoutSeconds) {
  if (isAtLineStart_ && prompt_ != nullptr) {
    *prompt_ << "> " << std::flush;
    isAtLineStart_ = false;
  }
  for (;;) {
    if (const std::size_t end = buffer_.find('\n'); end != std::string::npos) {
      line = buffer_.substr(0, end);
      buffer_.erase(0, end + 1);
      isAtLineStart_ = true;
      return Status::line;
    }
    if (isAtEnd_) {
      if (buffer_.empty()) return Status::end;
      line = std::move(buffer_);
      buffer_.clear();
      return Status::line;
    }
    pollfd waiting{fd_, POLLIN, 0};
    const int ready = ::poll(&waiting, 1, pollMilliseconds(timeoutSeconds));
    if (ready == 0) return Status::timeout;
    if (ready < 0) {
      if (errno == EINTR) continue;
      isAtEnd_ = true;
      continue;
    }
    char chunk[4096];
    const ssize_t count = ::read(fd_, chunk, sizeof chunk);
    if (count <= 0) {
      isAtEnd_ = true;
    } else {
      buffer_.append(chunk, static_cast<std::size_t>(count));
    }
  }
}

Console::Console(std::shared_ptr<sim::SimDesktop> desktop, ConsoleInput& input, std::ostream& out,
                 ConsoleOptions options)
    : desktop_(std::move(desktop)), input_(input), out_(out), options_(std::move(options)) {
  desktop_->log().setOutputListener([this](const std::string& line) { print(line); });
  desktop_->alerts().setHandler([this](const AlertContent& alert) { return runAlert(alert); });
  desktop_->eventTaps().setEventSink(
      [this](const sim::SimEvent& event) { print(eventLine(event)); });
}

Console::~Console() {
  isFinished_ = true;
  app_.reset();
  desktop_->log().setOutputListener(nullptr);
  desktop_->alerts().setHandler(nullptr);
  desktop_->eventTaps().setEventSink(nullptr);
}

int Console::run() {
  for (const Command& command : options_.desktop) perform(command);
  launch();
  afterCommand();
  while (!isFinished_) {
    std::string line;
    const std::optional<double> timeout = desktop_->runLoop().clock() == sim::SimRunLoop::Clock::real
                                              ? desktop_->runLoop().secondsUntilNextTimer()
                                              : std::nullopt;
    const ConsoleInput::Status status = read(line, timeout);
    if (status == ConsoleInput::Status::end) break;
    if (status == ConsoleInput::Status::line) execute(line);
    afterCommand();
  }
  finish();
  app_.reset();
  flushOutput();
  return outputFailure_.empty() ? 0 : 1;
}

// Null when the application ended at once (another copy runs); the console then finishes.
void Console::launch() { app_ = WheelrightApp::create(desktop_->platform()); }

ConsoleInput::Status Console::read(std::string& line, std::optional<double> timeoutSeconds) {
  const ConsoleInput::Status status = input_.read(line, timeoutSeconds);
  if (status == ConsoleInput::Status::line && isAtInputStart_) {
    // Editors on some systems start a UTF-8 file with a byte-order mark; it is not a command.
    if (line.starts_with("\xEF\xBB\xBF")) line.erase(0, 3);
    isAtInputStart_ = false;
  }
  return status;
}

void Console::afterCommand() {
  if (!isFinished_) desktop_->runLoop().runPending();
  if (desktop_->system().isTerminated()) finish();
  // A failing output is found at the command that met it, not at the end of a long input.
  flushOutput();
}

// The process ends here: nothing more runs and nothing more is shown.
void Console::finish() {
  isFinished_ = true;
  desktop_->runLoop().stop();
}

void Console::print(const std::string& line) {
  if (isFinished_ || desktop_->system().isTerminated()) return;
  input_.willPrint();
  out_ << line << '\n';
  if (desktop_->runLoop().clock() == sim::SimRunLoop::Clock::real) out_.flush();
  checkOutput();
}

void Console::flushOutput() {
  if (!outputFailure_.empty()) return;
  out_.flush();
  checkOutput();
}

// Output that cannot be written ends the program: nobody would see what happens next.
void Console::checkOutput() {
  if (out_ || !outputFailure_.empty()) return;
  outputFailure_ = outputFailureText(errno);
  finish();
}

void Console::error(const std::string& message) { print("error: " + message); }

long Console::runAlert(const AlertContent& alert) {
  for (const std::string& alertLine : alertLines(alert)) print(alertLine);
  alertResponses_.emplace_back();
  while (!isFinished_ && !alertResponses_.back()) {
    std::string line;
    const ConsoleInput::Status status = read(line, std::nullopt);
    if (status == ConsoleInput::Status::end) {
      finish();
      break;
    }
    if (status == ConsoleInput::Status::line) execute(line);
    afterCommand();
  }
  const long response = alertResponses_.back().value_or(sim::SimAlertPresenter::abortResponse);
  alertResponses_.pop_back();
  return response;
}

void Console::execute(const std::string& line) {
  if (options_.echoesInput) print("> " + line);
  const Result<Command> parsed = parseCommand(line);
  if (!parsed) {
    error(parsed.error());
    return;
  }
  perform(parsed.value());
}

bool Console::checkMenuUsable() {
  if (!alertResponses_.empty()) {
    error("the menu cannot be used while an alert is open");
    return false;
  }
  if (!desktop_->statusItem().isShown()) {
    error("the status item is not in the menu bar");
    return false;
  }
  return true;
}

void Console::perform(const Command& command) {
  sim::SimStatusItem& item = desktop_->statusItem();
  std::visit(
      [&](const auto& c) {
        using C = std::decay_t<decltype(c)>;
        if constexpr (std::is_same_v<C, Nothing>) {
        } else if constexpr (std::is_same_v<C, ShowMenu>) {
          if (!checkMenuUsable()) return;
          const std::optional<StatusLabel> label = item.label();
          if (!label) return;  // checkMenuUsable has said that the item is not shown
          for (const std::string& menuLine : menuLines(*label, item.menu())) print(menuLine);
        } else if constexpr (std::is_same_v<C, Choose>) {
          if (!checkMenuUsable()) return;
          if (const auto* number = std::get_if<std::size_t>(&c.entry)) {
            if (!item.choose(*number)) error("the menu has no entry " + std::to_string(*number));
          } else if (const auto& label = std::get<std::string>(c.entry); !item.choose(label)) {
            error("the menu has no entry \"" + label + "\"");
          }
        } else if constexpr (std::is_same_v<C, KeyEquivalentPress>) {
          if (!checkMenuUsable()) return;
          if (!item.pressKeyEquivalent(c.key)) {
            error(std::string("no menu entry has the key equivalent cmd-") + c.key);
          }
        } else if constexpr (std::is_same_v<C, EscapeKey>) {
          // The last button answers Escape, unless it is the only one.
          const AlertContent* alert = desktop_->alerts().openAlert();
          if (alertResponses_.empty() || alert == nullptr) {
            error("no alert is open");
          } else if (alert->buttonTitles.size() < 2) {
            error("no button of the alert answers Escape");
          } else {
            alertResponses_.back() =
                alertFirstButtonReturn + static_cast<long>(alert->buttonTitles.size()) - 1;
          }
        } else if constexpr (std::is_same_v<C, PressButton> || std::is_same_v<C, Respond>) {
          const AlertContent* alert = desktop_->alerts().openAlert();
          if (alertResponses_.empty() || alert == nullptr) {
            error("no alert is open");
          } else if constexpr (std::is_same_v<C, PressButton>) {
            if (c.button > alert->buttonTitles.size()) {
              error("the alert has no button " + std::to_string(c.button));
            } else {
              alertResponses_.back() = alertFirstButtonReturn + static_cast<long>(c.button) - 1;
            }
          } else {
            alertResponses_.back() = c.code;
          }
        } else if constexpr (std::is_same_v<C, Inject>) {
          desktop_->inject(c.event);
        } else if constexpr (std::is_same_v<C, SetNatural>) {
          desktop_->system().setNaturalScrollPreference(c.value);
        } else if constexpr (std::is_same_v<C, SetTrust>) {
          desktop_->system().setTrusted(c.isTrusted);
        } else if constexpr (std::is_same_v<C, SetTapFailure>) {
          desktop_->eventTaps().setCreationFailure(c.failure);
        } else if constexpr (std::is_same_v<C, DisableTap>) {
          const MachPortRef tap = desktop_->eventTaps().newestTap();
          if (tap == nullptr) {
            error("no event tap is installed");
          } else {
            desktop_->eventTaps().disableTap(tap, c.reason);
          }
        } else if constexpr (std::is_same_v<C, DeafenTap>) {
          const MachPortRef tap = desktop_->eventTaps().newestTap();
          if (tap == nullptr) {
            error("no event tap is installed");
          } else {
            desktop_->eventTaps().deafenTap(tap);
          }
        } else if constexpr (std::is_same_v<C, SetAsleep>) {
          if (c.isAsleep) {
            desktop_->sleep();
          } else {
            desktop_->wake();
          }
        } else if constexpr (std::is_same_v<C, SetSessionActive>) {
          desktop_->workspace().post(c.isActive ? WorkspaceNotification::sessionDidBecomeActive
                                                : WorkspaceNotification::sessionDidResignActive);
        } else if constexpr (std::is_same_v<C, SetOpensURLs>) {
          desktop_->system().setOpensURLs(c.opens);
        } else if constexpr (std::is_same_v<C, SetAnotherCopy>) {
          desktop_->system().setAnotherCopyRunning(c.isRunning);
        } else if constexpr (std::is_same_v<C, SetLoginStatus>) {
          desktop_->system().setLoginItemStatus(c.status);
        } else if constexpr (std::is_same_v<C, FailLoginChange>) {
          desktop_->system().failNextLoginItemChange(c.text);
        } else if constexpr (std::is_same_v<C, SetUpdateFeed>) {
          desktop_->updater().setFeedAnswer(c.answer);
        } else if constexpr (std::is_same_v<C, SetOffersUpdates>) {
          desktop_->setOffersUpdates(c.offers);
        } else if constexpr (std::is_same_v<C, Wait>) {
          desktop_->runLoop().advance(c.seconds);
        } else if constexpr (std::is_same_v<C, Relaunch>) {
          // The alert's own job still runs on the application being replaced.
          if (!alertResponses_.empty()) {
            error("relaunch is not possible while an alert is open");
            return;
          }
          app_.reset();
          desktop_->reopenUserDefaults();
          launch();
        } else if constexpr (std::is_same_v<C, ShowState>) {
          // A launch that found another copy running ends the program, but state must not rely
          // on that to find an application.
          if (!app_) {
            error("the application is not running");
            return;
          }
          print(stateLine(*app_));
        } else if constexpr (std::is_same_v<C, ShowDefaults>) {
          print(defaultsLine());
        } else if constexpr (std::is_same_v<C, Help>) {
          for (const std::string& usage : commandUsages()) print("help: " + usage);
          for (const std::string& usage : startOptionUsages()) print("help: " + usage);
        } else {
          static_assert(std::is_same_v<C, Quit>);
          finish();
        }
      },
      command);
}

std::string Console::stateLine(const WheelrightApp& app) const {
  const AppModel& model = app.model();
  const AppModel::Status& status = model.status();
  std::string text(statusLook(status.kind).name);
  if (status.kind == AppModel::Status::Case::error) text += "(" + status.message + ")";
  const char* tap = "idle";
  switch (desktop_->eventTaps().tapState(desktop_->eventTaps().newestTap())) {
    case sim::SimEventTaps::TapState::running:
      tap = "running";
      break;
    case sim::SimEventTaps::TapState::disabled:
      tap = "disabled";
      break;
    case sim::SimEventTaps::TapState::idle:
      break;
  }
  const auto onOff = [](bool on) { return on ? "on" : "off"; };
  return "state: status=" + text + " tap=" + tap +
         " natural=" + onOff(model.isNaturalScrollEnabled()) +
         " trust=" + onOff(model.isAccessibilityGranted()) +
         " login=" + onOff(model.launchAtLoginEnabled());
}

std::string Console::defaultsLine() const {
  std::string line = "defaults:";
  const sim::SimUserDefaults& store = desktop_->userDefaultsStore();
  for (const auto& [key, value] : store.storedValues()) {
    line += " " + key + (value ? "=true" : "=false");
  }
  return store.isStored() ? line : line + " (not stored)";
}

}  // namespace wheelright::console
