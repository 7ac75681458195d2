// Builds without libedit read the terminal without line editing.
#include "console/line_editor.h"

namespace wheelright::console {

std::unique_ptr<ConsoleInput> makeLineEditorInput() { return nullptr; }

}  // namespace wheelright::console
