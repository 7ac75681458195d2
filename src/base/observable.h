#pragma once
// Change announcements for observable objects: observers are told before a published value is
// stored, on every assignment (equal values included), and rebuild what they show from current
// values. Main thread only.

#include <cstddef>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "base/scope_exit.h"

namespace wheelright {

// The will-change notification of one observable object.
class ObjectWillChange {
  struct Entry {
    std::size_t token = 0;
    std::function<void()> observer;
  };
  struct Observers {
    std::vector<Entry> entries;
    std::size_t nextToken = 1;
    int sendDepth = 0;
  };

 public:
  using Observer = std::function<void()>;

  // An observer's place in the list, held by whoever observes: it ends when this object is
  // destroyed or reset, so an observer cannot stay subscribed after its owner has gone. Safe in
  // either order of destruction with the ObjectWillChange.
  class [[nodiscard]] Subscription {
   public:
    Subscription() = default;
    Subscription(Subscription&& other) noexcept = default;
    Subscription& operator=(Subscription&& other) noexcept {
      if (this != &other) {
        reset();
        observers_ = std::move(other.observers_);
        token_ = other.token_;
      }
      return *this;
    }
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;
    ~Subscription() { reset(); }

    // Safe while observers are being told: the observer is not called any more.
    void reset() {
      if (const auto observers = observers_.lock()) unsubscribe(*observers, token_);
      observers_.reset();
    }

   private:
    friend class ObjectWillChange;
    Subscription(const std::shared_ptr<Observers>& observers, std::size_t token)
        : observers_(observers), token_(token) {}
    std::weak_ptr<Observers> observers_;
    std::size_t token_ = 0;
  };

  ObjectWillChange() = default;
  ObjectWillChange(const ObjectWillChange&) = delete;
  ObjectWillChange& operator=(const ObjectWillChange&) = delete;

  // Adds an observer for as long as the answer is held.
  Subscription subscribe(Observer observer) {
    const std::size_t token = observers_->nextToken++;
    observers_->entries.push_back({token, std::move(observer)});
    return {observers_, token};
  }

  // Tells every observer, in the order they subscribed. Observers added meanwhile are told from
  // the next announcement on. An observer that throws ends the announcement; the list stays
  // usable.
  void send() {
    Observers& observers = *observers_;
    ++observers.sendDepth;
    const ScopeExit lowering([&observers] {
      if (--observers.sendDepth == 0) compact(observers);
    });
    const std::size_t count = observers.entries.size();
    for (std::size_t i = 0; i < count; ++i) {
      // Copied: the observer may unsubscribe itself, or add others, while it runs.
      if (observers.entries[i].observer) Observer(observers.entries[i].observer)();
    }
  }

  std::size_t observerCount() const { return observers_->entries.size(); }

 private:
  static void unsubscribe(Observers& observers, std::size_t token) {
    for (auto& entry : observers.entries) {
      if (entry.token == token) entry = {};
    }
    if (observers.sendDepth == 0) compact(observers);
  }
  static void compact(Observers& observers) {
    std::erase_if(observers.entries, [](const Entry& entry) { return !entry.observer; });
  }
  // Shared with the subscriptions, weakly, so that one that outlives this object does nothing.
  std::shared_ptr<Observers> observers_ = std::make_shared<Observers>();
};

// A value whose every assignment is announced through its owner's ObjectWillChange first.
template <typename T>
class Published {
 public:
  Published(ObjectWillChange& owner, T initial) : owner_(&owner), value_(std::move(initial)) {}
  Published(const Published&) = delete;
  Published& operator=(const Published&) = delete;

  const T& get() const { return value_; }
  operator const T&() const { return value_; }  // NOLINT(google-explicit-constructor)

  void set(T value) {
    owner_->send();
    value_ = std::move(value);
  }
  Published& operator=(T value) {
    set(std::move(value));
    return *this;
  }

 private:
  ObjectWillChange* owner_;
  T value_;
};

}  // namespace wheelright
