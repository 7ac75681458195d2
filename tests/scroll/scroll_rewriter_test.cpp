#include "scroll/scroll_rewriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "platform/sim/sim_event.h"

namespace wheelright {
namespace {

using Lines = std::vector<std::string>;

// A simulated event that writes each field access to a log.
struct RecordedEvent {
  sim::SimEvent event = sim::SimEvent::scrollWheel();
  Lines log;
  template <typename T>
  T noted(const char* what, EventField id, T value) {
    log.push_back(what + std::to_string(id));
    return value;
  }
  std::int64_t integerValue(EventField id) { return noted("get ", id, event.integerValue(id)); }
  double doubleValue(EventField id) { return noted("get ", id, event.doubleValue(id)); }
  void setIntegerValue(EventField id, std::int64_t v) { event.setIntegerValue(id, noted("set ", id, v)); }
  void setDoubleValue(EventField id, double v) { event.setDoubleValue(id, noted("set ", id, v)); }
};

RecordedEvent wheelEvent(std::int64_t continuity, std::int64_t phase, std::int64_t momentum) {
  RecordedEvent e;
  e.event = sim::SimEvent::mouseWheel(3, 5);
  for (const EventField third : {field::deltaAxis3, field::pointDeltaAxis3}) e.event.setIntegerValue(third, 7);
  e.event.setDoubleValue(field::fixedPtDeltaAxis3, 7);
  e.event.setIntegerValue(field::isContinuous, continuity);
  e.event.setIntegerValue(field::scrollPhase, phase);
  e.event.setIntegerValue(field::momentumPhase, momentum);
  return e;
}

TEST(ScrollRewriter, WhatCountsAsAWheelAndWhichAxesTurn) {
  struct Row {
    std::int64_t continuity, phase, momentum;
    ScrollConfiguration config;
    bool vertical, horizontal;  // reversed
  };
  const ScrollConfiguration v{true, false, false}, h{false, true, false}, both{true, true, false},
      none{false, false, false}, smooth{true, true, true};
  const Row rows[] = {
      {0, 0, 0, v, true, false},     {0, 0, 0, h, false, true},      {0, 0, 0, both, true, true},
      {0, 0, 0, none, false, false}, {0, 1, 0, both, false, false},  {1, 2, 0, smooth, false, false},
      {0, -1, 0, smooth, false, false}, {0, 0, 3, both, false, false}, {1, 0, 1, smooth, false, false},
      {1, 0, 0, both, false, false}, {1, 0, 0, smooth, true, true},  {-7, 0, 0, both, false, false},
      {0, 0, 0, smooth, true, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.continuity << "," << row.phase << "," << row.momentum
                                      << " smooth=" << row.config.treatContinuousWithoutPhaseAsMouse);
    RecordedEvent e = wheelEvent(row.continuity, row.phase, row.momentum);
    int asked = 0;
    processScrollEvent(e, [&] {
      ++asked;
      return row.config;
    });
    EXPECT_EQ(asked, 1);
    const int sv = row.vertical ? -1 : 1, sh = row.horizontal ? -1 : 1;
    const sim::SimEvent& out = e.event;
    EXPECT_EQ(out.integerValue(field::deltaAxis1), sv * 3);
    EXPECT_EQ(out.doubleValue(field::fixedPtDeltaAxis1), sv * 3.0);
    EXPECT_EQ(out.integerValue(field::pointDeltaAxis1), sv * 30);
    EXPECT_EQ(out.integerValue(field::deltaAxis2), sh * 5);
    EXPECT_EQ(out.doubleValue(field::fixedPtDeltaAxis2), sh * 5.0);
    EXPECT_EQ(out.integerValue(field::pointDeltaAxis2), sh * 50);
    for (const EventField third : {field::deltaAxis3, field::pointDeltaAxis3}) EXPECT_EQ(out.integerValue(third), 7);
    EXPECT_EQ(out.doubleValue(field::fixedPtDeltaAxis3), 7.0);
  }
}

// Classification first, then the provider, then each axis read whole before it is written,
// vertical first; nothing else is touched.
TEST(ScrollRewriter, TheOrderOfFieldAccess) {
  const Lines classify = {"get 88", "get 99", "get 123", "provider"};
  const Lines axis1 = {"get 11", "get 93", "get 96", "set 11", "set 93", "set 96"};
  const Lines axis2 = {"get 12", "get 94", "get 97", "set 12", "set 94", "set 97"};
  const auto join = [](Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  };
  const std::pair<ScrollConfiguration, Lines> rows[] = {
      {{true, true, false}, join(join(classify, axis1), axis2)},
      {{true, false, false}, join(classify, axis1)},
      {{false, true, false}, join(classify, axis2)},
      {{false, false, false}, classify},
  };
  for (const auto& [config, expected] : rows) {
    RecordedEvent e = wheelEvent(0, 0, 0);
    processScrollEvent(e, [&e, config = config] {
      e.log.push_back("provider");
      return config;
    });
    EXPECT_EQ(e.log, expected);
  }
}

// Every delta is negated as read, zero included (all six fields still written); the most negative
// 64-bit value, which has no negation, saturates so that the direction still turns.
TEST(ScrollRewriter, ZeroAndExtremeDeltasOnBothAxes) {
  constexpr auto minValue = std::numeric_limits<std::int64_t>::min();
  constexpr auto maxValue = std::numeric_limits<std::int64_t>::max();
  struct Row {
    std::int64_t delta;
    double fixed;
    std::int64_t expected;
    double expectedFixed;
  };
  const Row rows[] = {
      {0, 0.0, 0, -0.0}, {-4, -4.5, 4, 4.5}, {maxValue, 1e300, -maxValue, -1e300}, {minValue, -1e300, maxValue, 1e300}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.delta);
    RecordedEvent e = wheelEvent(0, 0, 0);
    for (const EventField id : {field::deltaAxis1, field::pointDeltaAxis1, field::deltaAxis2, field::pointDeltaAxis2}) {
      e.event.setIntegerValue(id, row.delta);
    }
    e.event.setDoubleValue(field::fixedPtDeltaAxis1, row.fixed);
    e.event.setDoubleValue(field::fixedPtDeltaAxis2, row.fixed);
    processScrollEvent(e, [] { return ScrollConfiguration{true, true, false}; });
    EXPECT_EQ(std::count_if(e.log.begin(), e.log.end(), [](const std::string& s) { return s.starts_with("set"); }), 6);
    for (const EventField id : {field::deltaAxis1, field::pointDeltaAxis1, field::deltaAxis2, field::pointDeltaAxis2}) {
      EXPECT_EQ(e.event.integerValue(id), row.expected) << id;
    }
    for (const EventField id : {field::fixedPtDeltaAxis1, field::fixedPtDeltaAxis2}) {
      EXPECT_EQ(e.event.doubleValue(id), row.expectedFixed) << id;
      EXPECT_EQ(std::signbit(e.event.doubleValue(id)), std::signbit(row.expectedFixed)) << id;
    }
  }
}

}  // namespace
}  // namespace wheelright
