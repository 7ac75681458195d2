#include "platform/sim/sim_system.h"

#include <utility>

namespace wheelright::sim {

SimSystem::SimSystem(DesktopLog& log) : log_(log) { setNaturalScrollPreference(true); }

PreferenceValue SimSystem::copyPreferenceValue(const std::string& key) {
  log_.call("copyPreferenceValue " + key);
  // The global domain holds only the one preference the application reads.
  return key == naturalScrollPreferenceKey ? naturalScrollPreference_ : PreferenceValue{};
}

bool SimSystem::isProcessTrusted() {
  log_.call("isProcessTrusted");
  return isTrusted_;
}

bool SimSystem::isProcessTrustedWithOptions(bool prompt) {
  log_.call(prompt ? "isProcessTrustedWithOptions prompt=true"
                   : "isProcessTrustedWithOptions prompt=false");
  if (prompt && !isTrusted_) log_.show("system: accessibility prompt");
  return isTrusted_;
}

OpenURLResult SimSystem::openURL(const std::string& address) {
  log_.call("openURL " + address);
  log_.show((opensURLs_ ? "system: opened " : "system: refused ") + address);
  return opensURLs_ ? OpenURLResult::opened : OpenURLResult::refused;
}

void SimSystem::openApplication(const std::string& path) {
  log_.call("openApplication " + path);
  log_.show("system: launched " + path);
}

void SimSystem::terminate() {
  log_.call("terminate");
  log_.show("system: terminated");
  isTerminated_ = true;
  if (terminationHandler_) terminationHandler_();
}

bool SimSystem::isAnotherCopyRunning() {
  log_.call("isAnotherCopyRunning");
  return isAnotherCopyRunning_;
}

LoginItemStatus SimSystem::mainAppServiceStatus() {
  log_.call("mainAppServiceStatus");
  return loginItemStatus_;
}

Result<> SimSystem::registerMainAppService() {
  log_.call("registerMainAppService");
  return changeLoginItem(registeredStatus_, "registered");
}

Result<> SimSystem::unregisterMainAppService() {
  log_.call("unregisterMainAppService");
  return changeLoginItem(LoginItemStatus::notRegistered, "unregistered");
}

void SimSystem::openSystemSettingsLoginItems() {
  log_.call("openSystemSettingsLoginItems");
  log_.show("system: opened login items");
}

Result<> SimSystem::changeLoginItem(LoginItemStatus to, const char* outcome) {
  if (nextLoginItemFailure_) {
    Error failure = std::move(*nextLoginItemFailure_);
    nextLoginItemFailure_.reset();
    log_.show("system: login item error: " + failure.text);
    return failure;
  }
  loginItemStatus_ = to;
  log_.show(std::string("system: login item ") + outcome);
  return {};
}

void SimSystem::setNaturalScrollPreference(PreferenceValue value) {
  naturalScrollPreference_ = std::move(value);
}

}  // namespace wheelright::sim
