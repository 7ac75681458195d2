#pragma once
// Tests run the application's code over the simulated desktop, the one stand-in for the operating
// system, which plays the user's and the system's part (probes, alerts answered, time passing).

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "menubar/wheelright_app.h"
#include "platform/sim/sim_desktop.h"
#include "scroll/event_fields.h"

namespace wheelright::testing {

using Lines = std::vector<std::string>;
using Status = AppModel::Status;

inline constexpr const char* onboardingTitle = "Wheelright 사용 준비";
inline constexpr const char* disabledTitle = "Wheelright 설정을 확인해 주세요";
inline constexpr const char* permissionTitle = "손쉬운 사용 권한이 필요합니다";
inline constexpr const char* tapErrorText =
    "스크롤 이벤트 감시를 시작하지 못했습니다. 손쉬운 사용 권한을 확인해 주세요.";

class DesktopTest : public ::testing::Test {
 protected:
  sim::SimSystem& system() { return desktop->system(); }
  sim::SimEventTaps& taps() { return desktop->eventTaps(); }
  // A value in the user defaults store, as a previous run left it.
  void stored(const std::string& key, bool value) {
    desktop->userDefaultsStore().setBool(value, key);
  }
  // The model over a new desktop (natural scrolling on, untrusted; alerts close without a button
  // unless answered). Unless it is the user's first start, the checklist was seen before.
  AppModel& launch(bool isFirstStart = false) {
    if (!isFirstStart) stored("hasShownNaturalScrollOnboarding", true);
    settings = std::make_shared<AppSettings>(desktop->platform().standardUserDefaults);
    model = AppModel::create(settings, desktop->platform());
    return *model;
  }
  // Every alert from now on answers this (1000: the first button) after running `whileOpen`.
  void answerAlerts(long response, std::function<void()> whileOpen = {}) {
    desktop->alerts().setHandler([response, whileOpen](const AlertContent&) {
      if (whileOpen) whileOpen();
      return response;
    });
  }
  // One polling interval, and whatever it sets off.
  void poll() { desktop->advance(1.5); }
  // The platform calls since the last take.
  Lines take() {
    Lines calls = desktop->calls();
    desktop->log().clear();
    return calls;
  }
  // The lines a person saw after the first `count`.
  Lines outputAfter(std::size_t count) const {
    return Lines(desktop->output().begin() + static_cast<long>(count), desktop->output().end());
  }
  Lines alertTitles() const {
    Lines titles;
    for (const AlertContent& alert : desktop->alerts().alerts()) titles.push_back(alert.messageText);
    return titles;
  }
  // Whether a wheel line injected now comes out reversed (the stored switches reverse it).
  bool reversesTheWheel() {
    return desktop->inject(sim::SimEvent::mouseWheel(1))->integerValue(field::deltaAxis1) == -1;
  }

  std::shared_ptr<sim::SimDesktop> desktop = sim::SimDesktop::create();
  std::shared_ptr<AppSettings> settings;
  std::shared_ptr<AppModel> model;
};

// The entry with this label, a switch or an action.
template <typename T>
const T& entryLabelled(const std::vector<MenuEntry>& entries, const std::string& label) {
  for (const MenuEntry& entry : entries) {
    if (const T* e = std::get_if<T>(&entry); e != nullptr && e->label == label) return *e;
  }
  throw std::runtime_error("no entry " + label);
}

}  // namespace wheelright::testing
