#pragma once
// The macOS platform bundle: Quartz event taps, Core Foundation, Accessibility, AppKit and
// ServiceManagement behind the platform interfaces. Call on the main thread after
// [NSApplication sharedApplication].

#include "platform/platform.h"

namespace wheelright {

Platform makeMacPlatform();

}  // namespace wheelright
