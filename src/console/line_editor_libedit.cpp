// The line editor over libedit's readline interface, in its callback form: the console's run loop
// keeps polling with the timeout to the next timer while a line is being typed.
#include <editline/readline.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "console/line_editor.h"

namespace wheelright::console {
namespace {

class LineEditorInput final : public ConsoleInput {
 public:
  LineEditorInput() {
    current_ = this;
    rl_instream = stdin;
    rl_outstream = stdout;
  }
  ~LineEditorInput() override {
    // A prompt left on the screen would sit in front of the shell's.
    willPrint();
    rl_callback_handler_remove();
    rl_deprep_terminal();
    std::fflush(stdout);
    current_ = nullptr;
  }
  LineEditorInput(const LineEditorInput&) = delete;
  LineEditorInput& operator=(const LineEditorInput&) = delete;

  Status read(std::string& line, std::optional<double> timeoutSeconds) override {
    for (;;) {
      if (isAtEnd_) return Status::end;
      if (typed_) {
        line = std::move(*typed_);
        typed_.reset();
        return Status::line;
      }
      if (!isEditing_) {
        // libedit's callback mode ends with each finished line (back to the terminal's cooked
        // mode); installing the handler again starts the next line and shows the prompt.
        rl_callback_handler_install("> ", &LineEditorInput::lineTyped);
        isEditing_ = true;
        isHidden_ = false;
      } else if (isHidden_) {
        // The prompt and the half-typed line, drawn again below what was printed.
        rl_forced_update_display();
        isHidden_ = false;
      }
      pollfd waiting{STDIN_FILENO, POLLIN, 0};
      const int ready = ::poll(&waiting, 1, pollMilliseconds(timeoutSeconds));
      if (ready == 0 || (ready < 0 && errno == EINTR)) return Status::timeout;
      if (ready < 0 || (waiting.revents & POLLIN) == 0) {
        isAtEnd_ = true;
        continue;
      }
      rl_callback_read_char();
    }
  }

  void willPrint() override {
    if (!isEditing_ || isHidden_) return;
    // To the start of the line, and clear it: the editor's line is drawn again at the next read.
    std::fputs("\r\033[K", stdout);
    isHidden_ = true;
  }

 private:
  // Called by the editor with a finished line, or null for Ctrl-D on an empty line.
  static void lineTyped(char* text) {
    LineEditorInput& self = *current_;
    self.isEditing_ = false;
    rl_callback_handler_remove();
    if (text == nullptr) {
      // The session ends on a line of its own, below the prompt where Ctrl-D was typed.
      std::fputs("\n", stdout);
      self.isAtEnd_ = true;
      return;
    }
    if (text[0] != '\0') add_history(text);
    self.typed_ = std::string(text);
    std::free(text);
  }

  static inline LineEditorInput* current_ = nullptr;
  std::optional<std::string> typed_;
  // A line is being typed: the handler is installed and the editor owns the screen's last line.
  bool isEditing_ = false;
  bool isHidden_ = false;
  bool isAtEnd_ = false;
};

}  // namespace

std::unique_ptr<ConsoleInput> makeLineEditorInput() { return std::make_unique<LineEditorInput>(); }

}  // namespace wheelright::console
