// The one set of simulated file failures; off unless a test installs some.
#include "platform/file_faults.h"

#include <algorithm>
#include <cstdlib>

#include "platform/file.h"

namespace platform {
namespace {
FileFaults g_faults;
}

void InjectFileFaults(const FileFaults& faults) {
    g_faults = faults;
}

namespace faults {

std::size_t AllowedWrite(std::size_t count) {
    std::size_t allowed = count;
    for (std::optional<std::uint64_t>* budget : {&g_faults.writeLimit, &g_faults.crashAfter}) {
        if (*budget)
            allowed = static_cast<std::size_t>(std::min<std::uint64_t>(allowed, **budget));
    }
    for (std::optional<std::uint64_t>* budget : {&g_faults.writeLimit, &g_faults.crashAfter}) {
        if (*budget)
            **budget -= allowed;
    }
    return allowed;
}

void CrashWhenDue() {
    if (g_faults.crashAfter && *g_faults.crashAfter == 0)
        std::_Exit(kCrashStatus);
}

bool ReserveFails(std::uint64_t count) {
    return g_faults.writeLimit && *g_faults.writeLimit < count;
}

bool FlushFails() {
    return g_faults.failFlush;
}
bool RenameFails() {
    return g_faults.failRename;
}
bool TemporaryFails() {
    return g_faults.failTemporary;
}

}  // namespace faults
}  // namespace platform
