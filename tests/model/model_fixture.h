#pragma once
// A model over the fakes, with helpers to read its state the way the tests talk about it.

#include <gtest/gtest.h>

#include <memory>

#include "fakes/fake_platform.h"
#include "model/app_model.h"

namespace wheelright::testing {

class ModelTest : public ::testing::Test {
 protected:
  FakePlatform fake;
  std::shared_ptr<AppSettings> settings;
  std::shared_ptr<AppModel> model;

  // The desktop before launch: the onboarding key set unless a test says otherwise.
  void SetUp() override { fake.defaults->stored["hasShownNaturalScrollOnboarding"] = true; }

  AppModel& launch() {
    settings = std::make_shared<AppSettings>(fake.defaults);
    model = AppModel::create(settings, fake.platform());
    return *model;
  }
  bool tapRunning() const { return fake.eventTaps->hasRunningTap(); }
  int tapCreations() const {
    int n = 0;
    for (const auto& line : fake.log) n += line == "tapCreate" ? 1 : 0;
    return n;
  }
  // Runs the queued jobs; alerts answer from fake.alerts->responses (first button by default).
  void runJobs() { fake.mainLoop->runJobs(); }
  void tick() { fake.mainLoop->tick(); }
  std::vector<std::string> alertTitles() const {
    std::vector<std::string> titles;
    for (const auto& alert : fake.alerts->shown) titles.push_back(alert.messageText);
    return titles;
  }
};

inline constexpr const char* onboardingTitle = "Wheelright 사용 준비";
inline constexpr const char* disabledTitle = "Wheelright 설정을 확인해 주세요";
inline constexpr const char* permissionTitle = "손쉬운 사용 권한이 필요합니다";
inline constexpr const char* tapErrorText =
    "스크롤 이벤트 감시를 시작하지 못했습니다. 손쉬운 사용 권한을 확인해 주세요.";

}  // namespace wheelright::testing
