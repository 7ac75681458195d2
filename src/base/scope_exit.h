#pragma once
// Runs a cleanup when the scope ends, however it ends: by return or by an exception.

#include <utility>

namespace wheelright {

template <typename F>
class ScopeExit {
 public:
  explicit ScopeExit(F cleanup) : cleanup_(std::move(cleanup)) {}
  ~ScopeExit() { cleanup_(); }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

 private:
  F cleanup_;
};

}  // namespace wheelright
