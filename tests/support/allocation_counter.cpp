#include "support/allocation_counter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<std::size_t> allocations{0};

// Every form of operator new allocates here and every operator delete releases with std::free, so
// that memory a library allocates with one form (GoogleTest uses the nothrow one) and releases with
// another is the same kind of memory at both ends.
void* allocate(std::size_t size, std::align_val_t alignment) noexcept {
  allocations.fetch_add(1, std::memory_order_relaxed);
  const auto align = static_cast<std::size_t>(alignment);
  if (size == 0) size = 1;
  if (align <= alignof(std::max_align_t)) return std::malloc(size);
  // aligned_alloc takes only whole multiples of the alignment.
  return std::aligned_alloc(align, (size + align - 1) / align * align);
}

void* allocateOrThrow(std::size_t size, std::align_val_t alignment) {
  if (void* p = allocate(size, alignment)) return p;
  throw std::bad_alloc();
}

constexpr std::align_val_t plain{alignof(std::max_align_t)};
}  // namespace

void* operator new(std::size_t size) { return allocateOrThrow(size, plain); }
void* operator new[](std::size_t size) { return allocateOrThrow(size, plain); }
void* operator new(std::size_t size, std::align_val_t align) { return allocateOrThrow(size, align); }
void* operator new[](std::size_t size, std::align_val_t align) { return allocateOrThrow(size, align); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocate(size, plain); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocate(size, plain); }
void* operator new(std::size_t size, std::align_val_t align, const std::nothrow_t&) noexcept {
  return allocate(size, align);
}
void* operator new[](std::size_t size, std::align_val_t align, const std::nothrow_t&) noexcept {
  return allocate(size, align);
}

// GCC cannot tell that the replaced operator new is malloc underneath; these are the pair.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free(p); }
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

std::size_t wheelright::allocationCount() { return allocations.load(std::memory_order_relaxed); }
