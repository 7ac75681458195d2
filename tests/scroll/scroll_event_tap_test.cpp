#include "scroll/scroll_event_tap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_platform.h"
#include "scroll/event_fields.h"

namespace wheelright {
namespace {

using testing::CallLog;
using testing::FakeEvent;
using testing::FakeEventTaps;

constexpr const char* startErrorText =
    "스크롤 이벤트 감시를 시작하지 못했습니다. 손쉬운 사용 권한을 확인해 주세요.";

EventRef asRef(FakeEvent& event) { return reinterpret_cast<EventRef>(&event); }

class ScrollEventTapTest : public ::testing::Test {
 protected:
  CallLog log;
  std::shared_ptr<FakeEventTaps> taps = std::make_shared<FakeEventTaps>(log);
  int providerCalls = 0;
  ScrollConfiguration config{true, false, false};
  std::shared_ptr<ScrollEventTap> tap = ScrollEventTap::create(taps, [this]() noexcept {
    ++providerCalls;
    return config;
  });

  CallLog take() { return std::exchange(log, {}); }
  MachPortRef newestPort() { return reinterpret_cast<MachPortRef>(taps->ports().back().get()); }
};

const CallLog startCalls = {"tapCreate", "createRunLoopSource order=0", "addSource main common",
                            "tapEnable true"};
const CallLog stopCalls = {"removeSource main common", "tapEnable false", "invalidate",
                           "release source", "release port"};

TEST_F(ScrollEventTapTest, ConstructionTouchesNothing) {
  EXPECT_TRUE(log.empty());
  EXPECT_FALSE(tap->isRunning());
  EXPECT_TRUE(log.empty()) << "with no port, isRunning asks nothing";
}

TEST_F(ScrollEventTapTest, StartInstallsAnActiveHeadInsertedSessionTap) {
  tap->start();
  CallLog expected = {"tapIsEnabled"};
  expected.erase(expected.begin());  // no port yet: nothing to ask
  expected.insert(expected.end(), startCalls.begin(), startCalls.end());
  EXPECT_EQ(take(), expected);
  EXPECT_EQ(taps->lastLocation, TapLocation::session);
  EXPECT_EQ(taps->lastPlacement, TapPlacement::headInsert);
  EXPECT_EQ(taps->lastOptions, TapOptions::defaultFilter);
  EXPECT_EQ(taps->lastMask, 0x400000u);
  EXPECT_EQ(taps->ports().back()->callback, &scrollTapCallback);
  EXPECT_EQ(taps->ports().back()->userInfo, tap.get());
  EXPECT_TRUE(tap->isRunning());
  EXPECT_TRUE(tap->hasPort());
  EXPECT_TRUE(tap->hasRunLoopSource());
}

TEST_F(ScrollEventTapTest, StatesAndTransitions) {
  // Running: a second start only asks whether the port is enabled.
  tap->start();
  take();
  tap->start();
  EXPECT_EQ(take(), CallLog{"tapIsEnabled"});
  EXPECT_EQ(taps->ports().size(), 1u);

  // Disabled by the system: not running; start tears the old tap down and installs a new one.
  MachPortRef old = newestPort();
  taps->disable(old);
  EXPECT_FALSE(tap->isRunning());
  take();
  tap->start();
  CallLog expected = {"tapIsEnabled"};
  expected.insert(expected.end(), stopCalls.begin(), stopCalls.end());
  expected.insert(expected.end(), startCalls.begin(), startCalls.end());
  EXPECT_EQ(take(), expected);
  EXPECT_TRUE(FakeEventTaps::asPort(old).invalidated);
  EXPECT_EQ(FakeEventTaps::asPort(old).references, 0);
  EXPECT_EQ(taps->ports().size(), 2u);
  EXPECT_TRUE(tap->isRunning());
  take();

  // Stop from running, then stop again: the second makes no call.
  tap->stop();
  EXPECT_EQ(take(), stopCalls);
  EXPECT_FALSE(tap->hasPort());
  EXPECT_FALSE(tap->hasRunLoopSource());
  tap->stop();
  EXPECT_TRUE(take().empty());
  EXPECT_FALSE(tap->isRunning());

  // Stop from disabled-by-the-system goes to idle as well.
  tap->start();
  taps->disable(newestPort());
  take();
  tap->stop();
  EXPECT_EQ(take(), stopCalls);

  for (const auto& port : taps->ports()) EXPECT_EQ(port->references, 0);
  for (const auto& source : taps->sources()) {
    EXPECT_EQ(source->references, 0);
    EXPECT_FALSE(source->attached);
  }
}

TEST_F(ScrollEventTapTest, CreationFailuresLeaveTheTapIdle) {
  struct Row {
    const char* name;
    bool failTap, failSource;
    CallLog calls;
  };
  const Row rows[] = {
      {"tap cannot be created", true, false, {"tapCreate"}},
      // The new port is invalidated (not disabled first) and released.
      {"run-loop source cannot be created", false, true,
       {"tapCreate", "createRunLoopSource order=0", "invalidate", "release port"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    CallLog rowLog;
    auto services = std::make_shared<FakeEventTaps>(rowLog);
    services->failTapCreate = row.failTap;
    services->failSourceCreate = row.failSource;
    auto failing = ScrollEventTap::create(services, []() noexcept { return ScrollConfiguration{}; });
    try {
      failing->start();
      ADD_FAILURE() << "start did not fail";
    } catch (const ScrollEventTap::StartError& error) {
      EXPECT_EQ(error.code(), ScrollEventTap::StartError::Code::couldNotCreateTap);
      EXPECT_STREQ(error.localizedDescription(), startErrorText);
      EXPECT_STREQ(error.what(), startErrorText);
      EXPECT_EQ(error, ScrollEventTap::StartError{});
    }
    EXPECT_EQ(rowLog, row.calls);
    EXPECT_FALSE(failing->hasPort());
    EXPECT_FALSE(failing->hasRunLoopSource());
    EXPECT_FALSE(failing->isRunning());
    for (const auto& port : services->ports()) EXPECT_EQ(port->references, 0);
  }
}

TEST_F(ScrollEventTapTest, FailedRestartRemovesTheDisabledTap) {
  tap->start();
  taps->disable(newestPort());
  taps->failTapCreate = true;
  take();
  EXPECT_THROW(tap->start(), ScrollEventTap::StartError);
  CallLog expected = {"tapIsEnabled"};
  expected.insert(expected.end(), stopCalls.begin(), stopCalls.end());
  expected.push_back("tapCreate");
  EXPECT_EQ(take(), expected);
  EXPECT_FALSE(tap->hasPort());
}

TEST_F(ScrollEventTapTest, DestroyingARunningTapRemovesItsSourceAndInvalidatesItsPort) {
  tap->start();
  auto& port = *taps->ports().back();
  auto& source = *taps->sources().back();
  take();
  tap.reset();
  EXPECT_EQ(take(), stopCalls);
  EXPECT_TRUE(port.invalidated);
  EXPECT_FALSE(source.attached);
  EXPECT_EQ(port.references, 0);
  EXPECT_EQ(source.references, 0);
}

TEST_F(ScrollEventTapTest, CallbackDispatch) {
  tap->start();
  MachPortRef port = newestPort();
  struct Row {
    const char* name;
    EventType type;
    bool nullUserInfo;
    bool disableFirst;
    int expectProviderCalls;
    bool expectReversed;
    CallLog expectCalls;
  };
  const Row rows[] = {
      {"scroll wheel", event_type::scrollWheel, false, false, 1, true, {}},
      {"null user info", event_type::scrollWheel, true, false, 0, false, {}},
      {"null user info, timeout", event_type::tapDisabledByTimeout, true, true, 0, false, {}},
      {"disabled by timeout", event_type::tapDisabledByTimeout, false, true, 0, false, {"tapEnable true"}},
      {"disabled by user input", event_type::tapDisabledByUserInput, false, true, 0, false,
       {"tapEnable true"}},
      {"mouse down", 1, false, false, 0, false, {}},
      {"key down", 10, false, false, 0, false, {}},
      {"type 0", 0, false, false, 0, false, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    FakeEvent event;
    event.integers[field::deltaAxis1] = 3;
    if (row.disableFirst) taps->disable(port);
    providerCalls = 0;
    take();
    EventRef result = scrollTapCallback(nullptr, row.type, asRef(event),
                                        row.nullUserInfo ? nullptr : tap.get());
    EXPECT_EQ(result, asRef(event)) << "the callback hands back the very event it was given";
    EXPECT_EQ(providerCalls, row.expectProviderCalls);
    EXPECT_EQ(event.integers[field::deltaAxis1], row.expectReversed ? -3 : 3);
    EXPECT_EQ(take(), row.expectCalls);
    EXPECT_EQ(tap->isRunning(), !(row.disableFirst && row.nullUserInfo));
    taps->ports().back()->enabled = true;
  }
}

TEST_F(ScrollEventTapTest, DisabledNotificationAfterStopReenablesNothing) {
  tap->start();
  tap->stop();
  take();
  FakeEvent event;
  EXPECT_EQ(scrollTapCallback(nullptr, event_type::tapDisabledByTimeout, asRef(event), tap.get()),
            asRef(event));
  EXPECT_EQ(scrollTapCallback(nullptr, event_type::tapDisabledByUserInput, asRef(event), tap.get()),
            asRef(event));
  EXPECT_TRUE(take().empty());
  EXPECT_FALSE(tap->isRunning());
}

TEST_F(ScrollEventTapTest, ASwitchChangedBetweenEventsAppliesToTheNext) {
  tap->start();
  FakeEvent first, second;
  first.integers[field::deltaAxis2] = 2;
  second.integers[field::deltaAxis2] = 2;
  taps->deliver(event_type::scrollWheel, asRef(first));
  config.reverseHorizontal = true;
  taps->deliver(event_type::scrollWheel, asRef(second));
  EXPECT_EQ(first.integers[field::deltaAxis2], 2);
  EXPECT_EQ(second.integers[field::deltaAxis2], -2);
  EXPECT_EQ(providerCalls, 2);
}

}  // namespace
}  // namespace wheelright
