#pragma once
// Change announcements for observable objects: observers are told before a published value is
// stored, on every assignment (equal values included), and rebuild what they show from current
// values. Main thread only.

#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

namespace wheelright {

// The will-change notification of one observable object.
class ObjectWillChange {
 public:
  using Observer = std::function<void()>;
  using Token = std::size_t;

  // Adds an observer; the token removes it again.
  Token subscribe(Observer observer) {
    observers_.push_back({nextToken_, std::move(observer)});
    return nextToken_++;
  }
  void unsubscribe(Token token) {
    std::erase_if(observers_, [token](const Entry& entry) { return entry.token == token; });
  }

  // Tells every observer, in the order they subscribed. An observer may unsubscribe itself
  // or others while being told; those removed are not called any more.
  void send() {
    const auto snapshot = observers_;
    for (const auto& entry : snapshot) {
      if (isSubscribed(entry.token)) entry.observer();
    }
  }

  std::size_t observerCount() const { return observers_.size(); }

 private:
  struct Entry {
    Token token;
    Observer observer;
  };
  bool isSubscribed(Token token) const {
    for (const auto& entry : observers_) {
      if (entry.token == token) return true;
    }
    return false;
  }
  std::vector<Entry> observers_;
  Token nextToken_ = 1;
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
