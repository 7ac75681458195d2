#include "menubar/wheelright_app.h"

#include <utility>

#include "base/weak_callback.h"
#include "menubar/status_look.h"
#include "model/system_probes.h"

namespace wheelright {

std::string statusSymbolName(const AppModel::Status& status) {
  return std::string(statusLook(status.kind).symbolName);
}

StatusLabel menuBarLabel(const AppModel::Status& status) {
  return {menuBarTitle, statusSymbolName(status)};
}

namespace {

std::shared_ptr<AppModel> makeModel(const Platform& platform) {
  auto settings = std::make_shared<AppSettings>(platform.standardUserDefaults);
  return AppModel::create(std::move(settings), platform);
}

}  // namespace

std::shared_ptr<WheelrightApp> WheelrightApp::create(Platform platform) {
  if (platform.system->isAnotherCopyRunning()) {
    quitApplication(*platform.system);
    return nullptr;
  }
  std::shared_ptr<WheelrightApp> app(new WheelrightApp(std::move(platform)));
  app->observe();
  return app;
}

WheelrightApp::WheelrightApp(Platform platform)
    : platform_(std::move(platform)),
      model_(makeModel(platform_)),
      content_(model_, model_->sharedSettings(), platform_.system, platform_.localizer,
               platform_.updater) {}

WheelrightApp::~WheelrightApp() { platform_.statusItem->remove(); }

void WheelrightApp::observe() {
  // Announcements come before the value is stored, so the rebuild runs as a job of its own
  // once the change is in place; several announcements of one turn give one rebuild.
  modelSubscription_ = model_->objectWillChange.subscribe([this] { scheduleUpdate(); });
  settingsSubscription_ =
      model_->settings().objectWillChange.subscribe([this] { scheduleUpdate(); });

  std::weak_ptr<WheelrightApp> weakSelf = weak_from_this();
  platform_.statusItem->show(
      [weakSelf] {
        auto app = weakSelf.lock();
        return app ? app->label() : StatusLabel{menuBarTitle, {}};
      },
      [weakSelf] {
        auto app = weakSelf.lock();
        return app ? app->menu() : std::vector<MenuEntry>{};
      });
  shownValues_ = content_.values();
}

void WheelrightApp::scheduleUpdate() {
  if (isUpdateScheduled_) return;
  isUpdateScheduled_ = true;
  platform_.mainLoop->postToMainQueue(weakCallback(weak_from_this(), [](WheelrightApp& app) {
    app.isUpdateScheduled_ = false;
    // The label and the menu are functions of these values alone.
    std::optional<MenuValues> values = app.content_.values();
    if (values == app.shownValues_) return;
    app.shownValues_ = std::move(values);
    app.platform_.statusItem->setNeedsUpdate();
  }));
}

StatusLabel WheelrightApp::label() const { return menuBarLabel(model_->status()); }

std::vector<MenuEntry> WheelrightApp::menu() const { return content_.entries(); }

}  // namespace wheelright
