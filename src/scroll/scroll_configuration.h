#pragma once
// The three switches that decide how a mouse-wheel event is rewritten.

namespace wheelright {

// Four bytes, so that the record comes back from the provider in one register on every event.
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
