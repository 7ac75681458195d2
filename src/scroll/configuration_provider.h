#pragma once
// What the tap asks for the switches on every scroll event. The callable is kept inside the
// provider itself and reached through one function pointer: asking allocates nothing, follows no
// pointer to a heap block, and cannot throw, because the tap callback runs between C frames.

#include <cstddef>
#include <new>
#include <type_traits>
#include <utility>

#include "scroll/scroll_configuration.h"

namespace wheelright {

class ConfigurationProvider {
 public:
  // Room for a weak reference and a pointer or two.
  static constexpr std::size_t capacity = 4 * sizeof(void*);

  // An empty provider; the tap refuses one.
  ConfigurationProvider() noexcept = default;

  // Any callable that answers a configuration without throwing and fits inside. A null function
  // pointer gives an empty provider.
  template <typename F, typename C = std::decay_t<F>>
    requires(!std::is_same_v<C, ConfigurationProvider> &&
             std::is_nothrow_invocable_r_v<ScrollConfiguration, const C&> &&
             std::is_nothrow_move_constructible_v<C> && sizeof(C) <= capacity &&
             alignof(C) <= alignof(std::max_align_t))
  // NOLINTNEXTLINE(bugprone-forwarding-reference-overload): the constraint excludes a provider
  ConfigurationProvider(F&& callable) noexcept(std::is_nothrow_constructible_v<C, F>) {
    if constexpr (std::is_pointer_v<C>) {
      if (callable == nullptr) return;
    }
    ::new (static_cast<void*>(storage_)) C(std::forward<F>(callable));
    call_ = [](const void* callableAt) noexcept -> ScrollConfiguration {
      return (*static_cast<const C*>(callableAt))();
    };
    relocate_ = [](void* from, void* to) noexcept {
      C* source = static_cast<C*>(from);
      if (to != nullptr) ::new (to) C(std::move(*source));
      source->~C();
    };
  }

  ConfigurationProvider(ConfigurationProvider&& other) noexcept { *this = std::move(other); }
  ConfigurationProvider& operator=(ConfigurationProvider&& other) noexcept {
    if (this != &other) {
      reset();
      call_ = std::exchange(other.call_, nullptr);
      relocate_ = std::exchange(other.relocate_, nullptr);
      if (relocate_ != nullptr) relocate_(other.storage_, storage_);
    }
    return *this;
  }
  ConfigurationProvider(const ConfigurationProvider&) = delete;
  ConfigurationProvider& operator=(const ConfigurationProvider&) = delete;
  ~ConfigurationProvider() { reset(); }

  explicit operator bool() const noexcept { return call_ != nullptr; }
  // Only on a provider that is not empty.
  ScrollConfiguration operator()() const noexcept { return call_(storage_); }

 private:
  void reset() noexcept {
    if (relocate_ != nullptr) relocate_(storage_, nullptr);
    call_ = nullptr;
    relocate_ = nullptr;
  }

  ScrollConfiguration (*call_)(const void*) noexcept = nullptr;
  // Moves the callable to another provider's storage, or destroys it when there is none.
  void (*relocate_)(void* from, void* to) noexcept = nullptr;
  alignas(std::max_align_t) std::byte storage_[capacity];
};

}  // namespace wheelright
