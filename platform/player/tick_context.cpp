// The thread-local tick context and the run numbering.
#include "platform/player/tick_context.h"

#include <atomic>

namespace platform::player {
namespace {
thread_local TickContext t_context;
std::atomic<std::uint64_t> g_nextRun{1};
}  // namespace

const TickContext& CurrentTick() {
    return t_context;
}

TickScope::TickScope(const TickContext& context) : saved_(t_context) {
    t_context = context;
}
TickScope::~TickScope() {
    t_context = saved_;
}

std::uint64_t NewRunId() {
    return g_nextRun.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace platform::player
