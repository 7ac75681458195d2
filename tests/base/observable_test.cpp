#include "base/observable.h"

#include <gtest/gtest.h>

#include <optional>
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

// A subscription may outlive what it observes: ending it then touches nothing.
TEST(Observable, ASubscriptionOutlivesItsObject) {
  std::optional<ObjectWillChange> willChange(std::in_place);
  ObjectWillChange::Subscription kept = willChange->subscribe([] {});
  willChange.reset();
  kept.reset();
}

}  // namespace
}  // namespace wheelright
