#pragma once
// One table for how each status shows: its name in the console's state line, the text of the
// menu's status line and the menu-bar icon. The error payload enters none of them.

#include <array>
#include <cstddef>
#include <string_view>

#include "model/app_model.h"
#include "model/texts.h"

namespace wheelright {

struct StatusLook {
  AppModel::Status::Case kind;
  std::string_view name;  // the case's own name
  Text title;
  std::string_view symbolName;  // a system symbol
};

inline constexpr std::array<StatusLook, 5> statusLooks{{
    {AppModel::Status::Case::error, "error", Text::statusError, "xmark.circle"},
    {AppModel::Status::Case::active, "active", Text::statusActive, "arrow.up.and.down.circle.fill"},
    {AppModel::Status::Case::paused, "paused", Text::statusPaused, "pause.circle"},
    {AppModel::Status::Case::naturalScrollRequired, "naturalScrollRequired",
     Text::statusNaturalScrollRequired, "exclamationmark.arrow.triangle.2.circlepath"},
    {AppModel::Status::Case::permissionRequired, "permissionRequired",
     Text::statusPermissionRequired, "exclamationmark.triangle"},
}};

constexpr const StatusLook& statusLook(AppModel::Status::Case kind) {
  return statusLooks[static_cast<std::size_t>(kind)];
}

static_assert(
    [] {
      for (std::size_t i = 0; i < statusLooks.size(); ++i) {
        if (static_cast<std::size_t>(statusLooks[i].kind) != i) return false;
      }
      return true;
    }(),
    "one row per case, in the enumeration's order");

}  // namespace wheelright
