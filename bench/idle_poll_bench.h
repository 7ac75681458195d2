#pragma once
// The idle poll's figures that the benchmark's report prints beside its time.

#include <cstddef>

namespace wheelright {

// Heap allocations made by one poll that finds nothing changed.
std::size_t allocationsPerIdlePoll();

}  // namespace wheelright
