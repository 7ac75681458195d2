#pragma once
// The Cocoa and Core Foundation objects that the macOS services make, one function each, so that
// the macOS tests can look at them on the real frameworks without showing or running anything.
// Objective-C++ only.
#ifndef __OBJC__
#error "mac_objects.h is for Objective-C++ (.mm) files only"
#endif

#import <AppKit/AppKit.h>

#include <functional>
#include <vector>

#include "platform/alert_presenter.h"
#include "platform/menu_entry.h"
#include "platform/status_item.h"
#include "platform/system_services.h"

namespace wheelright {

// Replaces the items of menu with one item per entry; the entries decide which items are enabled.
// Each item that can be chosen holds its own target, so the list may be dropped afterwards.
void fillMenu(NSMenu* menu, const std::vector<MenuEntry>& entries);

// The label's system symbol as a template image, or nil when the system has no such symbol.
NSImage* statusBarImage(const StatusLabel& label);

// The menu-bar item that a status item from makeMacStatusItem shows; nil while it shows none.
NSStatusItem* statusBarItem(const StatusItem& item);

// The alert that runModal runs.
NSAlert* makeAlert(const AlertContent& content);

// How late a repeating timer may fire, as a part of its interval, so that the system can gather
// wake-ups: 0.15 s for the 1.5-second polling.
inline constexpr double repeatingTimerTolerance = 0.1;
// A repeating NSTimer scheduled on the current run loop in the default mode only: it does not
// fire while a modal alert runs.
NSTimer* scheduledRepeatingTimer(double intervalSeconds, std::function<void()> action);

// CFPreferencesCopyValue, interpreted; the copy is released here.
PreferenceValue readPreferenceValue(CFStringRef key, CFStringRef application, CFStringRef user,
                                    CFStringRef host);

// {kAXTrustedCheckOptionPrompt: prompt}, owned by the caller.
CFDictionaryRef createTrustPromptOptions(bool prompt);

}  // namespace wheelright
