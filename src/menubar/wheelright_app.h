#pragma once
// The application: creates the settings over the platform's standard defaults store and the one
// model, holds the model for the life of the process, and shows the menu-bar item whose label
// and menu are rebuilt from current values after every change announcement.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "menubar/menu_content.h"
#include "platform/menu_entry.h"
#include "model/app_model.h"
#include "platform/platform.h"

namespace wheelright {

inline constexpr const char* menuBarTitle = "Wheelright";

// The label's system symbol for each status; the error payload does not enter it.
std::string statusSymbolName(const AppModel::Status& status);
StatusLabel menuBarLabel(const AppModel::Status& status);

class WheelrightApp : public std::enable_shared_from_this<WheelrightApp> {
 public:
  // Launches the application. When another copy is already running, this one asks to terminate
  // before it touches anything (no defaults, no tap, no menu-bar item) and the answer is null: two
  // copies would each negate the wheel and so cancel each other out.
  static std::shared_ptr<WheelrightApp> create(Platform platform);
  // Takes the item out of the menu bar; the model goes with the application.
  ~WheelrightApp();
  WheelrightApp(const WheelrightApp&) = delete;
  WheelrightApp& operator=(const WheelrightApp&) = delete;

  AppModel& model() const { return *model_; }
  const std::shared_ptr<AppModel>& sharedModel() const { return model_; }
  const MenuBarContentView& content() const { return content_; }
  StatusLabel label() const;
  std::vector<MenuEntry> menu() const;

 private:
  explicit WheelrightApp(Platform platform);
  void observe();
  void scheduleUpdate();

  Platform platform_;
  std::shared_ptr<AppModel> model_;
  MenuBarContentView content_;
  // Declared after the model so that they end first: a model that outlives the application
  // (held through sharedModel) must not call back into it.
  ObjectWillChange::Subscription modelSubscription_;
  ObjectWillChange::Subscription settingsSubscription_;
  // What the item was last told to show: a poll that changes none of it costs the item nothing.
  std::optional<MenuValues> shownValues_;
  bool isUpdateScheduled_ = false;
};

}  // namespace wheelright
