// Counts the test program's allocations, per thread, by replacing the global operator new and
// delete: a real-time path shows that it allocates nothing, and a reader that a corrupt length is
// refused before any memory is asked for it (the largest single request).
#pragma once

#include <cstddef>
#include <cstdint>

namespace allocation_probe {

// The largest single request since the last Reset(), on any thread.
void Reset();
std::size_t Largest();

// What the calling thread has allocated and freed since it started.
struct Tally {
    std::uint64_t allocations = 0;
    std::uint64_t frees = 0;
};
Tally ThreadTally();

// The calling thread's allocations and frees from its construction on.
class ThreadWatch {
  public:
    ThreadWatch() : start_(ThreadTally()) {}
    std::uint64_t Allocations() const { return ThreadTally().allocations - start_.allocations; }
    std::uint64_t Frees() const { return ThreadTally().frees - start_.frees; }

  private:
    Tally start_;
};

}  // namespace allocation_probe
