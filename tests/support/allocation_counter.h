#pragma once
// Counts heap allocations: a program that links allocation_counter.cpp replaces the global
// operator new (every form) with one that counts, so it needs a binary of its own.

#include <cstddef>

namespace wheelright {

// Allocations through operator new since the program started.
std::size_t allocationCount();

}  // namespace wheelright
