// Replaces the global operator new of this test program to note the largest request; the array and
// non-throwing forms of the standard library forward to this one.
#include "tests/presets/allocation_probe.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<std::size_t> g_largest{0};
}

namespace allocation_probe {

void Reset() {
    g_largest = 0;
}
std::size_t Largest() {
    return g_largest;
}

}  // namespace allocation_probe

void* operator new(std::size_t size) {
    std::size_t seen = g_largest.load();
    while (size > seen && !g_largest.compare_exchange_weak(seen, size)) {
    }
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
