// The simulated failures installed by platform::InjectFileFaults, as the file layer consults them.
#pragma once

#include <cstddef>

namespace platform::faults {

// How many of count bytes may be written now; what it returns is taken from the write budget.
std::size_t AllowedWrite(std::size_t count);
bool FlushFails();
bool RenameFails();
bool TemporaryFails();

}  // namespace platform::faults
