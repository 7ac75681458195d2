#pragma once
// The three switches that decide how a mouse-wheel event is rewritten.

namespace wheelright {

// Four bytes rather than three: GCC moves a three-byte record through the stack a byte at a time
// and reloads it whole, a stalled load that made the wheel path some 25% slower.
struct alignas(4) ScrollConfiguration {
  bool reverseVertical = false;
  bool reverseHorizontal = false;
  // A wheel that reports continuous deltas but no phases is reversed like an ordinary wheel.
  bool treatContinuousWithoutPhaseAsMouse = false;
  friend bool operator==(const ScrollConfiguration&, const ScrollConfiguration&) = default;
};

// What a fresh user gets, and what the tap falls back to once the model is gone.
inline constexpr ScrollConfiguration settingsDefaultConfiguration{
    .reverseVertical = true, .reverseHorizontal = false, .treatContinuousWithoutPhaseAsMouse = false};

}  // namespace wheelright
