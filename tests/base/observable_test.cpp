#include "base/observable.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/weak_callback.h"

namespace wheelright {
namespace {

TEST(Observable, EveryAssignmentIsAnnouncedBeforeItIsStored) {
  ObjectWillChange willChange;
  Published<int> value(willChange, 1);
  std::vector<int> seen;
  willChange.subscribe([&] { seen.push_back(value); });
  willChange.subscribe([&] { seen.push_back(-value); });
  value = 2;
  value = 2;  // an equal value is announced too
  value.set(3);
  EXPECT_EQ(seen, (std::vector<int>{1, -1, 2, -2, 2, -2}));
  EXPECT_EQ(value.get(), 3);
}

// An observer may unsubscribe itself or another while being told; the rest are told as before.
TEST(Observable, UnsubscribingDuringASendStopsOnlyThoseUnsubscribed) {
  ObjectWillChange willChange;
  std::vector<std::string> calls;
  ObjectWillChange::Token first = 0, third = 0;
  first = willChange.subscribe([&] {
    calls.push_back("first");
    willChange.unsubscribe(first);
    willChange.unsubscribe(third);
  });
  willChange.subscribe([&] { calls.push_back("second"); });
  third = willChange.subscribe([&] { calls.push_back("third"); });
  willChange.send();
  willChange.send();
  EXPECT_EQ(calls, (std::vector<std::string>{"first", "second", "second"}));
  EXPECT_EQ(willChange.observerCount(), 1u);
}

TEST(WeakCallback, RunsWhileTheOwnerLivesAndDoesNothingAfter) {
  auto owner = std::make_shared<int>(0);
  auto callback = weakCallback(std::weak_ptr<int>(owner), [](int& n) { ++n; });
  callback();
  callback();
  EXPECT_EQ(*owner, 2);
  std::weak_ptr<int> watch = owner;
  owner.reset();
  callback();
  EXPECT_TRUE(watch.expired()) << "the callback never kept its owner alive";
}

}  // namespace
}  // namespace wheelright

namespace wheelright {
namespace {

TEST(WeakRef, AnswersTheObjectWhileItLivesAndNullAfter) {
  auto owner = std::make_shared<int>(7);
  const WeakRef<int> ref(owner);
  ASSERT_NE(ref.get(), nullptr);
  EXPECT_EQ(*ref.get(), 7);
  EXPECT_EQ(owner.use_count(), 1) << "no ownership taken";
  owner.reset();
  EXPECT_EQ(ref.get(), nullptr);
}

}  // namespace
}  // namespace wheelright
