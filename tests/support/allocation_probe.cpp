// Replaces the global operator new and delete of the test program that links it, every form: under
// the sanitizers the runtime's own forms do not forward to the plain ones. The counts are plain
// thread_locals: nothing here allocates.
#include "support/allocation_probe.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> g_largest{0};
thread_local allocation_probe::Tally t_tally;

void Note(std::size_t size) {
    ++t_tally.allocations;
    std::size_t seen = g_largest.load();
    while (size > seen && !g_largest.compare_exchange_weak(seen, size)) {
    }
}

void Free(void* p) {
    if (p)
        ++t_tally.frees;
    std::free(p);
}

}  // namespace

namespace allocation_probe {

void Reset() {
    g_largest = 0;
}
std::size_t Largest() {
    return g_largest;
}
Tally ThreadTally() {
    return t_tally;
}

}  // namespace allocation_probe

namespace {

void* Allocate(std::size_t size) {
    Note(size);
    return std::malloc(size ? size : 1);
}

// Aligned blocks are cut from a larger plain one whose address is kept just before the block:
// portable, where std::aligned_alloc is not (Windows has none).
void* AllocateAligned(std::size_t size, std::align_val_t align) {
    Note(size);
    const auto alignment = static_cast<std::size_t>(align);
    void* raw = std::malloc(size + alignment + sizeof(void*));
    if (!raw)
        return nullptr;
    const auto first = reinterpret_cast<std::uintptr_t>(raw) + sizeof(void*);
    auto* block = reinterpret_cast<void**>((first + alignment - 1) / alignment * alignment);
    block[-1] = raw;
    return block;
}

void FreeAligned(void* p) {
    if (p) {
        ++t_tally.frees;
        std::free(static_cast<void**>(p)[-1]);
    }
}

template <class T>
T* OrThrow(T* p) {
    if (!p)
        throw std::bad_alloc();
    return p;
}

}  // namespace

void* operator new(std::size_t size) {
    return OrThrow(Allocate(size));
}
void* operator new[](std::size_t size) {
    return OrThrow(Allocate(size));
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void* operator new(std::size_t size, std::align_val_t align) {
    return OrThrow(AllocateAligned(size, align));
}
void* operator new[](std::size_t size, std::align_val_t align) {
    return OrThrow(AllocateAligned(size, align));
}
void* operator new(std::size_t size, std::align_val_t align, const std::nothrow_t&) noexcept {
    return AllocateAligned(size, align);
}
void* operator new[](std::size_t size, std::align_val_t align, const std::nothrow_t&) noexcept {
    return AllocateAligned(size, align);
}

void operator delete(void* p) noexcept {
    Free(p);
}
void operator delete[](void* p) noexcept {
    Free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    Free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    Free(p);
}
void operator delete(void* p, std::align_val_t) noexcept {
    FreeAligned(p);
}
void operator delete[](void* p, std::align_val_t) noexcept {
    FreeAligned(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept {
    FreeAligned(p);
}
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept {
    FreeAligned(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    Free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    Free(p);
}
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept {
    FreeAligned(p);
}
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept {
    FreeAligned(p);
}
