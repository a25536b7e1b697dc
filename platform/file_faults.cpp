// The one set of simulated file failures; off unless a test installs some.
#include "platform/file_faults.h"

#include <algorithm>

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
    if (!g_faults.writeLimit)
        return count;
    const auto allowed =
        static_cast<std::size_t>(std::min<std::uint64_t>(count, *g_faults.writeLimit));
    *g_faults.writeLimit -= allowed;
    return allowed;
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
