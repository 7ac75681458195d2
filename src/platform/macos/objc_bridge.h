#pragma once
// Conversions shared by the Objective-C++ files of this folder. Objective-C++ only: C++ code
// reaches the macOS layer through mac_platform.h and never includes this header.
#ifndef __OBJC__
#error "objc_bridge.h is for Objective-C++ (.mm) files only"
#endif

#import <AppKit/AppKit.h>

#include <string>

namespace wheelright {

// Every text of the program is UTF-8; a text that is not shows as empty rather than crashing a
// Foundation call that does not accept nil.
inline NSString* toNSString(const std::string& text) {
  NSString* converted = [[NSString alloc] initWithBytes:text.data()
                                                 length:text.size()
                                               encoding:NSUTF8StringEncoding];
  return converted != nil ? converted : @"";
}

inline std::string toStdString(NSString* text) {
  const char* utf8 = text.UTF8String;
  return utf8 != nullptr ? std::string(utf8) : std::string();
}

// A system symbol image, or nil when the system has no symbol of that name.
inline NSImage* systemSymbolImage(const std::string& name, const std::string& description) {
  return [NSImage imageWithSystemSymbolName:toNSString(name)
                   accessibilityDescription:toNSString(description)];
}

}  // namespace wheelright
