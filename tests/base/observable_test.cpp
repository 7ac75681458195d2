#include "base/observable.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace wheelright {
namespace {

using Calls = std::vector<std::string>;

TEST(Observable, EveryAssignmentIsAnnouncedBeforeItIsStored) {
  ObjectWillChange willChange;
  Published<int> value(willChange, 1);
  std::vector<int> seen;
  const auto plus = willChange.subscribe([&] { seen.push_back(value); });
  const auto minus = willChange.subscribe([&] { seen.push_back(-value); });
  value = 2;
  value = 2;  // an equal value is announced too
  value.set(3);
  EXPECT_EQ(seen, (std::vector<int>{1, -1, 2, -2, 2, -2}));
  EXPECT_EQ(value.get(), 3);
}

// While being told, an observer may end its own subscription or another's, or add one: those
// ended are not told from then on, one added is told from the next announcement.
TEST(Observable, SubscriptionsChangedDuringASendTakeEffectInOrder) {
  ObjectWillChange willChange;
  Calls calls;
  ObjectWillChange::Subscription first, third, added;
  first = willChange.subscribe([&] {
    calls.push_back("first");
    first.reset();
    third.reset();
    added = willChange.subscribe([&] { calls.push_back("added"); });
  });
  const auto second = willChange.subscribe([&] { calls.push_back("second"); });
  third = willChange.subscribe([&] { calls.push_back("third"); });
  willChange.send();
  EXPECT_EQ(calls, (Calls{"first", "second"}));
  willChange.send();
  EXPECT_EQ(calls, (Calls{"first", "second", "second", "added"}));
  EXPECT_EQ(willChange.observerCount(), 2u);
}

// An observer that throws ends that announcement only: a subscription ended meanwhile is still
// cleared away, and the next announcement tells everyone left. A subscription moves without
// ending, and may outlive what it observes: ending it then touches nothing.
TEST(Observable, AThrowingObserverOrAGoneObjectLeavesSubscriptionsSafe) {
  std::optional<ObjectWillChange> willChange(std::in_place);
  Calls calls;
  bool isThrowing = true;
  auto thrower = willChange->subscribe([&] {
    if (isThrowing) throw std::runtime_error("observer");
  });
  auto other = willChange->subscribe([&] { calls.push_back("other"); });
  EXPECT_THROW(willChange->send(), std::runtime_error);
  other.reset();
  EXPECT_EQ(willChange->observerCount(), 1u) << "an ended subscription is cleared away";
  isThrowing = false;
  ObjectWillChange::Subscription moved;
  {
    auto original = willChange->subscribe([&] { calls.push_back("last"); });
    moved = std::move(original);
  }
  willChange->send();
  EXPECT_EQ(calls, (Calls{"last"}));
  willChange.reset();
  moved.reset();
  thrower.reset();
}

}  // namespace
}  // namespace wheelright
