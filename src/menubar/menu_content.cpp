#include "menubar/menu_content.h"

#include <utility>

#include "model/system_probes.h"

namespace wheelright {
namespace {

// The menu's texts, shown as they stand.
constexpr const char* naturalScrollNotice =
    "macOS의 자연스러운 스크롤이 꺼져 있어 기능을 일시 중지했습니다.";
constexpr const char* openScrollSettingsLabel = "스크롤 설정 열기…";
constexpr const char* enableLabel = "Wheelright 활성화";
constexpr const char* reverseVerticalLabel = "마우스 세로 스크롤 반전";
constexpr const char* reverseHorizontalLabel = "마우스 가로 스크롤 반전";
constexpr const char* smoothWheelLabel = "부드러운 휠 호환 모드";
constexpr const char* accessibilitySettingsLabel = "손쉬운 사용 권한 설정…";
constexpr const char* launchAtLoginLabel = "로그인 시 실행";
constexpr const char* quitLabel = "Wheelright 종료";

}  // namespace

std::string statusTitle(const AppModel::Status& status) {
  switch (status.kind) {
    case AppModel::Status::Case::active:
      return "작동 중";
    case AppModel::Status::Case::paused:
      return "일시 정지";
    case AppModel::Status::Case::naturalScrollRequired:
      return "자연스러운 스크롤을 켜 주세요";
    case AppModel::Status::Case::permissionRequired:
      return "손쉬운 사용 권한 필요";
    case AppModel::Status::Case::error:
      return "오류";
  }
  return {};
}

std::vector<MenuEntry> menuEntries(const MenuValues& values, const MenuOperations& operations) {
  using Case = AppModel::Status::Case;
  const Case status = values.status.kind;
  std::vector<MenuEntry> entries;
  entries.reserve(16);

  entries.emplace_back(MenuText{status == Case::permissionRequired
                                    ? permissionRequiredPrefix + statusTitle(values.status)
                                    : statusTitle(values.status)});
  if (status == Case::error) entries.emplace_back(MenuText{values.status.message});
  entries.emplace_back(MenuSeparator{});

  if (status == Case::naturalScrollRequired) {
    entries.emplace_back(MenuText{naturalScrollNotice});
    entries.emplace_back(MenuAction{openScrollSettingsLabel, operations.openNaturalScrollSettings, {}});
    entries.emplace_back(MenuSeparator{});
  }

  entries.emplace_back(MenuSwitch{enableLabel, values.isEnabled, operations.setEnabled});
  entries.emplace_back(MenuSwitch{reverseVerticalLabel, values.reverseVertical, operations.setReverseVertical});
  entries.emplace_back(
      MenuSwitch{reverseHorizontalLabel, values.reverseHorizontal, operations.setReverseHorizontal});
  entries.emplace_back(MenuSwitch{smoothWheelLabel, values.treatContinuousWithoutPhaseAsMouse,
                                  operations.setTreatContinuousWithoutPhaseAsMouse});

  if (status == Case::permissionRequired) {
    entries.emplace_back(MenuSeparator{});
    entries.emplace_back(
        MenuAction{accessibilitySettingsLabel, operations.requestAccessibilityPermission, {}});
  }

  entries.emplace_back(MenuSeparator{});
  entries.emplace_back(MenuSwitch{launchAtLoginLabel, values.launchAtLoginEnabled, operations.setLaunchAtLogin});
  entries.emplace_back(MenuSeparator{});
  entries.emplace_back(MenuAction{quitLabel, operations.quitApplication, KeyEquivalent{'q', KeyModifier::command}});
  return entries;
}

MenuBarContentView::MenuBarContentView(const std::shared_ptr<AppModel>& model,
                                       const std::shared_ptr<AppSettings>& settings,
                                       std::shared_ptr<SystemServices> system)
    : model_(model), settings_(settings), system_(std::move(system)) {}

std::optional<MenuValues> MenuBarContentView::values() const {
  const auto model = model_.lock();
  const auto settings = settings_.lock();
  if (!model || !settings) return std::nullopt;
  return MenuValues{model->status(),
                    model->launchAtLoginEnabled(),
                    settings->isEnabled(),
                    settings->reverseVertical(),
                    settings->reverseHorizontal(),
                    settings->treatContinuousWithoutPhaseAsMouse()};
}

std::vector<MenuEntry> MenuBarContentView::entries() const {
  const std::optional<MenuValues> values = this->values();
  if (!values) return {};

  // The entries may outlive this build (a platform menu keeps them until the next one), so they
  // hold the model and settings weakly.
  const std::weak_ptr<AppModel> weakModel = model_;
  const std::weak_ptr<AppSettings> weakSettings = settings_;
  const auto onModel = [weakModel](auto body) {
    return [weakModel, body](auto... args) {
      if (auto m = weakModel.lock()) body(*m, args...);
    };
  };
  const auto onSettings = [weakSettings](void (AppSettings::*setter)(bool)) {
    return [weakSettings, setter](bool value) {
      if (auto s = weakSettings.lock()) ((*s).*setter)(value);
    };
  };
  const std::shared_ptr<SystemServices> system = system_;

  MenuOperations operations{
      .setEnabled = onModel([](AppModel& m, bool value) { m.setEnabled(value); }),
      .setReverseVertical = onSettings(&AppSettings::setReverseVertical),
      .setReverseHorizontal = onSettings(&AppSettings::setReverseHorizontal),
      .setTreatContinuousWithoutPhaseAsMouse =
          onSettings(&AppSettings::setTreatContinuousWithoutPhaseAsMouse),
      .setLaunchAtLogin = onModel([](AppModel& m, bool value) { m.setLaunchAtLogin(value); }),
      .openNaturalScrollSettings = [system] { openNaturalScrollSettings(*system); },
      .requestAccessibilityPermission =
          onModel([](AppModel& m) { m.requestAccessibilityPermission(); }),
      .quitApplication = [system] { quitApplication(*system); },
  };
  return menuEntries(*values, operations);
}

}  // namespace wheelright
