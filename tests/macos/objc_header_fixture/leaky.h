#pragma once
// A header that lets an Objective-C type out to C++ code.
@class NSMenu;
struct Leaky {
  NSMenu* menu;
};
