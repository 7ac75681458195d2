#include "base/observable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

}  // namespace
}  // namespace wheelright
