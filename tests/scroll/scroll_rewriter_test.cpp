#include "scroll/scroll_rewriter.h"

#include <gtest/gtest.h>

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
    RecordedEvent e = wheelEvent(continuity, phase, momentum);
    int asked = 0;
    processScrollEvent(e, [&, config = rowConfig] {
      ++asked;
      return config;
    });
    EXPECT_EQ(asked, 1);
    const int sv = vertical ? -1 : 1, sh = horizontal ? -1 : 1;
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
  for (const auto& [rowConfig, expected] : rows) {
    RecordedEvent e = wheelEvent(0, 0, 0);
    processScrollEvent(e, [&e, config = rowConfig] {
      e.log.push_back("provider");
      return config;
    });
    EXPECT_EQ(e.log, expected);
  }
}

}  // namespace
}  // namespace wheelright
