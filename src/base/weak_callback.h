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
