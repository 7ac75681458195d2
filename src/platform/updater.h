#pragma once
// The application's updater: Sparkle's SPUStandardUpdaterController and its SPUUpdater, which
// check the release feed, show their own windows for what they find and schedule checks of their
// own. Main thread only.

namespace wheelright {

class Updater {
 public:
  virtual ~Updater() = default;

  // SPUUpdater canCheckForUpdates: the updater has started and no check of the user's is under
  // way.
  virtual bool canCheckForUpdates() const = 0;
  // SPUStandardUpdaterController checkForUpdates: the user asked; Sparkle shows the outcome.
  virtual void checkForUpdates() = 0;
  // SPUUpdater automaticallyChecksForUpdates: the scheduled checks, stored in the user defaults.
  virtual bool automaticallyChecksForUpdates() const = 0;
  virtual void setAutomaticallyChecksForUpdates(bool checks) = 0;
};

}  // namespace wheelright
