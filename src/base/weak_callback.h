#pragma once
// Deferred work that must not keep its owner alive: the callable runs with a strong reference
// taken for the call only, and does nothing once the owner is gone.

#include <memory>
#include <utility>

namespace wheelright {

template <typename T, typename F>
auto weakCallback(std::weak_ptr<T> owner, F body) {
  return [owner = std::move(owner), body = std::move(body)]() {
    if (auto strong = owner.lock()) body(*strong);
  };
}

}  // namespace wheelright

namespace wheelright {

// A weak reference for the per-event path: reading it costs one load of the use count and takes
// no ownership. Everything runs on the main thread, so an object found alive stays alive until
// the reader returns.
template <typename T>
class WeakRef {
 public:
  explicit WeakRef(const std::shared_ptr<T>& object) : weak_(object), object_(object.get()) {}
  // The object while it lives, else null.
  T* get() const noexcept { return weak_.expired() ? nullptr : object_; }

 private:
  std::weak_ptr<T> weak_;
  T* object_;
};

}  // namespace wheelright
