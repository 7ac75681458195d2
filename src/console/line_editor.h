#pragma once
// Line editing and history for a person at a terminal (standard input and output both
// terminals): output that arrives while a line is typed goes above it.

#include <memory>

#include "console/console.h"

namespace wheelright::console {

// The line editor on standard input and output, showing the prompt "> "; null when this build
// has none, and then the terminal is read without editing.
std::unique_ptr<ConsoleInput> makeLineEditorInput();

}  // namespace wheelright::console
