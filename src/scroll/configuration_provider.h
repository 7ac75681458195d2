#pragma once
// What the tap asks for the switches on every scroll event: read(context) while `owner` lives,
// settingsDefaultConfiguration once it is gone. The tap holds the owner weakly, so the owner may
// own the tap; `context` must live at least as long as the owner (the owner or a part of it).
// Everything runs on the main thread, so an owner found alive stays alive through `read`: the
// tap checks with one load instead of taking a strong reference, which measured markedly slower.

#include <memory>

#include "scroll/scroll_configuration.h"

namespace wheelright {

struct ConfigurationProvider {
  ScrollConfiguration (*read)(const void* context) noexcept = nullptr;
  const void* context = nullptr;
  std::weak_ptr<const void> owner;
};

}  // namespace wheelright
