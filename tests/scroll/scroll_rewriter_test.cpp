#include "scroll/scroll_rewriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "fakes/fake_platform.h"

namespace wheelright {
namespace {

using testing::FakeEvent;

FakeEvent wheelEvent() {
  FakeEvent e;
  e.integers = {{field::deltaAxis1, 3}, {field::pointDeltaAxis1, 30}, {field::deltaAxis2, 5},
                {field::pointDeltaAxis2, 50}, {field::deltaAxis3, 7}, {field::pointDeltaAxis3, 70}};
  e.doubles = {{field::fixedPtDeltaAxis1, 3.0}, {field::fixedPtDeltaAxis2, 5.0},
               {field::fixedPtDeltaAxis3, 7.0}};
  return e;
}

struct Deltas {
  std::int64_t line1, point1, line2, point2;
  double fixed1, fixed2;
};

Deltas deltasOf(FakeEvent& e) {
  return {e.integers[field::deltaAxis1], e.integers[field::pointDeltaAxis1],
          e.integers[field::deltaAxis2], e.integers[field::pointDeltaAxis2],
          e.doubles[field::fixedPtDeltaAxis1], e.doubles[field::fixedPtDeltaAxis2]};
}

TEST(ScrollRewriter, ClassificationAndAxes) {
  struct Row {
    const char* name;
    std::int64_t continuous, phase, momentum;
    ScrollConfiguration config;
    bool expectVertical, expectHorizontal;
  };
  const ScrollConfiguration vertical{true, false, false};
  const ScrollConfiguration horizontal{false, true, false};
  const ScrollConfiguration both{true, true, false};
  const ScrollConfiguration bothSmooth{true, true, true};
  const ScrollConfiguration none{false, false, false};
  const Row rows[] = {
      {"plain wheel, vertical", 0, 0, 0, vertical, true, false},
      {"plain wheel, horizontal", 0, 0, 0, horizontal, false, true},
      {"plain wheel, both", 0, 0, 0, both, true, true},
      {"plain wheel, none", 0, 0, 0, none, false, false},
      {"phased gesture", 0, 1, 0, both, false, false},
      {"phased gesture under smooth mode", 1, 2, 0, bothSmooth, false, false},
      {"negative phase counts as phased", 0, -1, 0, bothSmooth, false, false},
      {"momentum", 0, 0, 3, both, false, false},
      {"momentum under smooth mode", 1, 0, 1, bothSmooth, false, false},
      {"phase and momentum", 1, 4, 2, bothSmooth, false, false},
      {"continuous without phase", 1, 0, 0, both, false, false},
      {"continuous without phase, smooth mode", 1, 0, 0, bothSmooth, true, true},
      {"continuity of any nonzero value", -7, 0, 0, both, false, false},
      {"smooth mode on a plain wheel", 0, 0, 0, bothSmooth, true, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    FakeEvent e = wheelEvent();
    e.integers[field::isContinuous] = row.continuous;
    e.integers[field::scrollPhase] = row.phase;
    e.integers[field::momentumPhase] = row.momentum;
    int calls = 0;
    processScrollEvent(e, [&] {
      ++calls;
      return row.config;
    });
    EXPECT_EQ(calls, 1);
    const Deltas d = deltasOf(e);
    const int sv = row.expectVertical ? -1 : 1;
    const int sh = row.expectHorizontal ? -1 : 1;
    EXPECT_EQ(d.line1, sv * 3);
    EXPECT_EQ(d.point1, sv * 30);
    EXPECT_EQ(d.fixed1, sv * 3.0);
    EXPECT_EQ(d.line2, sh * 5);
    EXPECT_EQ(d.point2, sh * 50);
    EXPECT_EQ(d.fixed2, sh * 5.0);
    // The third axis is never touched.
    EXPECT_EQ(e.integers[field::deltaAxis3], 7);
    EXPECT_EQ(e.integers[field::pointDeltaAxis3], 70);
    EXPECT_EQ(e.doubles[field::fixedPtDeltaAxis3], 7.0);
  }
}

TEST(ScrollRewriter, FieldOrderOfReadsAndWrites) {
  struct Row {
    const char* name;
    ScrollConfiguration config;
    std::int64_t phase;
    std::vector<std::string> expected;
  };
  const std::vector<std::string> classify = {"getInt 88", "getInt 99", "getInt 123"};
  const std::vector<std::string> axis1 = {"getInt 11", "getDouble 93", "getInt 96",
                                          "setInt 11", "setDouble 93", "setInt 96"};
  const std::vector<std::string> axis2 = {"getInt 12", "getDouble 94", "getInt 97",
                                          "setInt 12", "setDouble 94", "setInt 97"};
  auto join = [](std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  };
  const Row rows[] = {
      {"both axes, vertical first", {true, true, false}, 0, join(join(classify, axis1), axis2)},
      {"vertical only", {true, false, false}, 0, join(classify, axis1)},
      {"horizontal only", {false, true, false}, 0, join(classify, axis2)},
      {"neither: nothing read or written past the classification", {false, false, false}, 0, classify},
      {"phased: classification only", {true, true, true}, 1, classify},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    FakeEvent e = wheelEvent();
    e.integers[field::scrollPhase] = row.phase;
    std::vector<std::string> log;
    e.accessLog = &log;
    processScrollEvent(e, [&] {
      log.push_back("provider");
      return row.config;
    });
    // The provider is asked after the three classification reads and before anything else.
    std::vector<std::string> expected = row.expected;
    expected.insert(expected.begin() + 3, "provider");
    EXPECT_EQ(log, expected);
  }
}

TEST(ScrollRewriter, ZeroAndExtremeDeltas) {
  struct Row {
    const char* name;
    std::int64_t line, point;
    double fixed;
    std::int64_t expectLine, expectPoint;
    double expectFixed;
  };
  constexpr auto minValue = std::numeric_limits<std::int64_t>::min();
  constexpr auto maxValue = std::numeric_limits<std::int64_t>::max();
  const Row rows[] = {
      {"zero is written back", 0, 0, 0.0, 0, 0, -0.0},
      {"negative becomes positive", -4, -40, -4.5, 4, 40, 4.5},
      {"largest value", maxValue, maxValue, 1e300, -maxValue, -maxValue, -1e300},
      // The most negative value has no negation; it saturates, keeping the direction reversed.
      {"most negative value saturates", minValue, minValue, -1e300, maxValue, maxValue, 1e300},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    FakeEvent e;
    e.integers = {{field::deltaAxis1, row.line}, {field::pointDeltaAxis1, row.point}};
    e.doubles = {{field::fixedPtDeltaAxis1, row.fixed}};
    std::vector<std::string> log;
    e.accessLog = &log;
    reverseDeltas(e, true, false);
    EXPECT_EQ(log.size(), 6u);
    EXPECT_EQ(e.integers[field::deltaAxis1], row.expectLine);
    EXPECT_EQ(e.integers[field::pointDeltaAxis1], row.expectPoint);
    EXPECT_EQ(e.doubles[field::fixedPtDeltaAxis1], row.expectFixed);
    EXPECT_EQ(std::signbit(e.doubles[field::fixedPtDeltaAxis1]), std::signbit(row.expectFixed));
  }
}

TEST(ScrollRewriter, EventMaskIsScrollWheelOnly) {
  EXPECT_EQ(scrollWheelEventMask, 0x400000u);
  EXPECT_EQ(scrollWheelEventMask, EventMask{4194304});
}

}  // namespace
}  // namespace wheelright
