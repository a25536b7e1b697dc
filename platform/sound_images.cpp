// A small lock-free table: readers on the timer thread never wait for the GUI thread.
#include "platform/sound_images.h"

#include <atomic>

namespace platform {
namespace {

struct Entry {
    std::atomic<const void*> image{nullptr};
    std::atomic<std::size_t> bytes{0};
};
Entry g_entries[kMaxSoundImages];

}  // namespace

bool RegisterSoundImage(const void* image, std::size_t bytes) {
    if (!image)
        return false;
    Entry* freeEntry = nullptr;
    for (Entry& e : g_entries) {
        const void* p = e.image.load(std::memory_order_acquire);
        if (p == image) {
            e.bytes.store(bytes, std::memory_order_release);
            return true;
        }
        if (!p && !freeEntry)
            freeEntry = &e;
    }
    if (!freeEntry)
        return false;
    freeEntry->bytes.store(bytes, std::memory_order_release);
    freeEntry->image.store(image, std::memory_order_release);
    return true;
}

void UnregisterSoundImage(const void* image) {
    if (!image)
        return;
    for (Entry& e : g_entries) {
        if (e.image.load(std::memory_order_acquire) == image) {
            e.image.store(nullptr, std::memory_order_release);
            e.bytes.store(0, std::memory_order_release);
        }
    }
}

std::size_t SoundImageSize(const void* image) {
    if (!image)
        return 0;
    for (const Entry& e : g_entries) {
        if (e.image.load(std::memory_order_acquire) == image)
            return e.bytes.load(std::memory_order_acquire);
    }
    return 0;
}

}  // namespace platform
