// The simulated failures installed by platform::InjectFileFaults, as the file layer consults them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform::faults {

// How many of count bytes may be written now; what it returns is taken from the write budget.
std::size_t AllowedWrite(std::size_t count);
// Ends the process at once, as a kill does, when the bytes allowed before a crash are used up.
// Called after writing what AllowedWrite allowed.
void CrashWhenDue();
// Whether reserving count more bytes for a file fails as on a full disk; takes nothing.
bool ReserveFails(std::uint64_t count);
bool FlushFails();
bool RenameFails();
bool TemporaryFails();

}  // namespace platform::faults
