#include "scroll/scroll_rewriter.h"

#include <gtest/gtest.h>

#include <limits>

#include "platform/sim/sim_event.h"

namespace wheelright {
namespace {

// Line, fixed-point and point delta of the vertical and the horizontal axis.
constexpr EventField axes[2][3] = {
    {field::deltaAxis1, field::fixedPtDeltaAxis1, field::pointDeltaAxis1},
    {field::deltaAxis2, field::fixedPtDeltaAxis2, field::pointDeltaAxis2}};

// An event on which writing an axis's line delta also sets its other two deltas from it, as a
// real event may: a rule that reads a delta after a write, or writes the line delta last, gets
// the axis wrong.
struct CoupledEvent {
  sim::SimEvent event;
  std::int64_t integerValue(EventField id) const { return event.integerValue(id); }
  double doubleValue(EventField id) const { return event.doubleValue(id); }
  void setDoubleValue(EventField id, double value) { event.setDoubleValue(id, value); }
  void setIntegerValue(EventField id, std::int64_t value) {
    event.setIntegerValue(id, value);
    for (const auto& [line, fixedPt, point] : axes) {
      if (id != line) continue;
      event.setDoubleValue(fixedPt, static_cast<double>(value));
      event.setIntegerValue(point, value);
    }
  }
};

TEST(ScrollRewriter, WhatCountsAsAWheelAndWhichAxesTurn) {
  const ScrollConfiguration v{true, false, false}, h{false, true, false}, both{true, true, false},
      none{false, false, false}, smooth{true, true, true};
  // The event's continuity, phase and momentum phase, the switches, and which axes turn.
  const std::tuple<std::int64_t, std::int64_t, std::int64_t, ScrollConfiguration, bool, bool>
      rows[] = {
      {0, 0, 0, v, true, false},     {0, 0, 0, h, false, true},      {0, 0, 0, both, true, true},
      {0, 0, 0, none, false, false}, {0, 1, 0, both, false, false},  {1, 2, 0, smooth, false, false},
      {0, -1, 0, smooth, false, false}, {0, 0, 3, both, false, false}, {1, 0, 1, smooth, false, false},
      {1, 0, 0, both, false, false}, {1, 0, 0, smooth, true, true},  {-7, 0, 0, both, false, false},
      {0, 0, 0, smooth, true, true},
  };
  for (const auto& [continuity, phase, momentum, rowConfig, vertical, horizontal] : rows) {
    SCOPED_TRACE(::testing::Message() << continuity << "," << phase << "," << momentum << " smooth="
                                      << rowConfig.treatContinuousWithoutPhaseAsMouse);
    CoupledEvent e{sim::SimEvent::mouseWheel(3, 5)};
    for (const EventField third : {field::deltaAxis3, field::pointDeltaAxis3}) {
      e.event.setIntegerValue(third, 7);
    }
    e.event.setDoubleValue(field::fixedPtDeltaAxis3, 7);
    e.event.setIntegerValue(field::isContinuous, continuity);
    e.event.setIntegerValue(field::scrollPhase, phase);
    e.event.setIntegerValue(field::momentumPhase, momentum);
    const sim::SimEvent before = e.event;
    int asked = 0;
    processScrollEvent(e, [&, config = rowConfig] {
      ++asked;
      return config;
    });
    EXPECT_EQ(asked, 1);
    sim::SimEvent expected = before;
    const bool reversed[] = {vertical, horizontal};
    for (int i = 0; i < 2; ++i) {
      if (!reversed[i]) continue;
      const auto& [line, fixedPt, point] = axes[i];
      expected.setIntegerValue(line, -before.integerValue(line));
      expected.setDoubleValue(fixedPt, -before.doubleValue(fixedPt));
      expected.setIntegerValue(point, -before.integerValue(point));
    }
    EXPECT_EQ(e.event, expected) << "only the deltas of the turned axes change";
  }
}

// The most negative delta has no negation: it saturates, still reversed, without overflow.
TEST(ScrollRewriter, TheMostNegativeDeltaTurnsToTheLargest) {
  constexpr std::int64_t lowest = std::numeric_limits<std::int64_t>::min();
  sim::SimEvent e = sim::SimEvent::scrollWheel();
  e.setIntegerValue(field::deltaAxis1, lowest);
  e.setIntegerValue(field::pointDeltaAxis1, lowest);
  processScrollEvent(e, [] { return ScrollConfiguration{true, false, false}; });
  EXPECT_EQ(e.integerValue(field::deltaAxis1), std::numeric_limits<std::int64_t>::max());
  EXPECT_EQ(e.integerValue(field::pointDeltaAxis1), std::numeric_limits<std::int64_t>::max());
}

}  // namespace
}  // namespace wheelright
