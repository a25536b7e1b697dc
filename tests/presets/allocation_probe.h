// Records the largest single allocation the test program makes, to show that a corrupt length is
// refused before any memory is asked for it.
#pragma once

#include <cstddef>

namespace allocation_probe {

void Reset();
std::size_t Largest();

}  // namespace allocation_probe
