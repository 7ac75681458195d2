#pragma once
// Runs the current run loop in short slices until a condition holds or a deadline passes, so
// that a test waits only as long as the thing it waits for. Objective-C++ only.

#import <Foundation/Foundation.h>

#include <algorithm>
#include <functional>

namespace wheelright {

// Answers whether done() held before the deadline; without done() it runs the whole time.
inline bool runLoopUntil(NSRunLoopMode mode, double seconds,
                         const std::function<bool()>& done = nullptr) {
  // A timer of its own keeps the mode from being empty, which would end each slice at once.
  NSTimer* keepAlive = [NSTimer timerWithTimeInterval:seconds
                                              repeats:NO
                                                block:^(NSTimer*){
                                                }];
  [NSRunLoop.currentRunLoop addTimer:keepAlive forMode:mode];
  NSDate* deadline = [NSDate dateWithTimeIntervalSinceNow:seconds];
  bool held = done && done();
  while (!held && deadline.timeIntervalSinceNow > 0) {
    // A timer that fires does not end a run early; a slice does.
    CFRunLoopRunInMode((__bridge CFStringRef)mode, std::min(0.01, deadline.timeIntervalSinceNow),
                       true);
    held = done && done();
  }
  [keepAlive invalidate];
  return held;
}

}  // namespace wheelright
