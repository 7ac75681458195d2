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
  // Safe while observers are being told: the observer is not called any more.
  void unsubscribe(Token token) {
    for (auto& entry : observers_) {
      if (entry.token == token) entry = {};
    }
    if (sendDepth_ == 0) compact();
  }

  // Tells every observer, in the order they subscribed. Observers added meanwhile are told from
  // the next announcement on.
  void send() {
    ++sendDepth_;
    const std::size_t count = observers_.size();
    for (std::size_t i = 0; i < count; ++i) {
      // Copied: the observer may unsubscribe itself while it runs.
      if (observers_[i].observer) Observer(observers_[i].observer)();
    }
    if (--sendDepth_ == 0) compact();
  }

  std::size_t observerCount() const { return observers_.size(); }

 private:
  struct Entry {
    Token token = 0;
    Observer observer;
  };
  void compact() {
    std::erase_if(observers_, [](const Entry& entry) { return !entry.observer; });
  }
  std::vector<Entry> observers_;
  Token nextToken_ = 1;
  int sendDepth_ = 0;
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
