#pragma once
// The console of the simulated desktop: reads one command a line, plays it as the user or as the
// operating system, and writes what happens, one line each beginning with its fixed word. It runs
// WheelrightApp over the desktop; an alert's modal loop reads further commands until a button is
// pressed.

#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "console/console_command.h"
#include "menubar/wheelright_app.h"
#include "platform/sim/sim_desktop.h"

namespace wheelright::console {

// How long poll() may wait for a read with this timeout: -1 (no end) without one.
int pollMilliseconds(std::optional<double> timeoutSeconds);
// The line standard error shows when output cannot be written, with errno's reason.
std::string outputFailureText(int error);

// Where command lines come from.
class ConsoleInput {
 public:
  enum class Status { line, timeout, end };
  virtual ~ConsoleInput() = default;
  // The next line; waits at most the timeout when one is given and lines may come later.
  virtual Status read(std::string& line, std::optional<double> timeoutSeconds) = 0;
  // Output is about to be written: a line editor takes its half-typed line off the screen and
  // draws it again at the next read.
  virtual void willPrint() {}
};

// A pipe or a file: every line is there already.
class StreamInput final : public ConsoleInput {
 public:
  explicit StreamInput(std::istream& in) : in_(in) {}
  Status read(std::string& line, std::optional<double> timeoutSeconds) override;

 private:
  std::istream& in_;
};

// A terminal without line editing: waits for typing with a timeout, showing a prompt for each
// new line when it has somewhere to show it.
class TerminalInput final : public ConsoleInput {
 public:
  TerminalInput(int fd, std::ostream* prompt) : fd_(fd), prompt_(prompt) {}
  Status read(std::string& line, std::optional<double> timeoutSeconds) override;

 private:
  int fd_;
  std::ostream* prompt_;
  std::string buffer_;
  bool isAtLineStart_ = true;
  bool isAtEnd_ = false;
};

struct ConsoleOptions {
  // Each input line is printed as "> <line>" before its output.
  bool echoesInput = false;
  // Operating-system commands played before the application starts.
  std::vector<Command> desktop;
};

class Console {
 public:
  Console(std::shared_ptr<sim::SimDesktop> desktop, ConsoleInput& input, std::ostream& out,
          ConsoleOptions options = {});
  ~Console();
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;

  // Launches the application, plays the input to its end or to termination; the exit status,
  // not 0 when the output could not be written.
  int run();
  WheelrightApp* app() const { return app_.get(); }
  // Why the output could not be written, one line for standard error; empty while it could.
  const std::string& outputFailure() const { return outputFailure_; }

 private:
  void launch();
  ConsoleInput::Status read(std::string& line, std::optional<double> timeoutSeconds);
  void execute(const std::string& line);
  void afterCommand();
  void finish();
  void print(const std::string& line);
  // Flushes what was printed, unless the output has already failed.
  void flushOutput();
  void checkOutput();
  void error(const std::string& message);
  long runAlert(const AlertContent& alert);
  bool checkMenuUsable();
  void perform(const Command& command);
  std::string stateLine(const WheelrightApp& app) const;
  std::string defaultsLine() const;

  std::shared_ptr<sim::SimDesktop> desktop_;
  ConsoleInput& input_;
  std::ostream& out_;
  const ConsoleOptions options_;
  std::shared_ptr<WheelrightApp> app_;
  // One entry per open alert, innermost last: its answer once a button was pressed.
  std::vector<std::optional<long>> alertResponses_;
  bool isFinished_ = false;
  bool isAtInputStart_ = true;
  std::string outputFailure_;
};

}  // namespace wheelright::console
