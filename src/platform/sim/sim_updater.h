#pragma once
// The simulated updater: a check shows "update: checking" and then what Sparkle's window would
// tell the user about the feed's answer. The feed answers as the console last set it.

#include <string>
#include <utility>

#include "platform/sim/desktop_log.h"
#include "platform/updater.h"

namespace wheelright::sim {

class SimUpdater final : public Updater {
 public:
  // What the feed answers: no newer version, a newer one, or a failure with its text.
  struct FeedAnswer {
    enum class Kind { none, offer, fail };
    Kind kind = Kind::none;
    std::string text;  // the version offered, or the failure
    friend bool operator==(const FeedAnswer&, const FeedAnswer&) = default;
  };

  explicit SimUpdater(DesktopLog& log) : log_(log) {}

  void setFeedAnswer(FeedAnswer answer) { answer_ = std::move(answer); }

  // The check runs to its end at once, so a new one can always start.
  bool canCheckForUpdates() const override { return true; }
  void checkForUpdates() override;
  bool automaticallyChecksForUpdates() const override { return checksAutomatically_; }
  void setAutomaticallyChecksForUpdates(bool checks) override;

 private:
  DesktopLog& log_;
  FeedAnswer answer_;
  // Sparkle leaves scheduled checks off until the user has answered its question about them.
  bool checksAutomatically_ = false;
};

}  // namespace wheelright::sim
