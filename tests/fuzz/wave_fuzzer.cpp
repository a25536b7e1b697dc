// Feeds arbitrary bytes to the WAVE reader as a sample file. It must refuse them or describe PCM
// data that lies wholly inside them, and it asks for no memory while it reads.
#include <sanitizer/allocator_interface.h>

#include <cstddef>
#include <cstdint>

#include "platform/wave_image.h"

namespace {

bool g_reading = false;
std::size_t g_allocations = 0;

void NoteAllocation(const volatile void*, std::size_t) {
    if (g_reading)
        ++g_allocations;
}
void NoteFree(const volatile void*) {}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    __sanitizer_install_malloc_and_free_hooks(NoteAllocation, NoteFree);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    g_allocations = 0;
    g_reading = true;
    const auto image = platform::ParseWaveImage(data, size);
    g_reading = false;
    if (g_allocations != 0)
        __builtin_trap();
    if (!image)
        return 0;

    const std::size_t frame = image->BytesPerFrame();
    if ((image->channels != 1 && image->channels != 2) ||
        (image->bitsPerSample != 8 && image->bitsPerSample != 16) || image->sampleRate == 0 ||
        image->data < data || image->dataBytes % frame != 0 ||
        image->dataBytes > size - static_cast<std::size_t>(image->data - data))
        __builtin_trap();
    // Every sample is read, so that the sanitizer sees any byte outside the input.
    float sum = 0;
    for (std::size_t i = 0; i < image->Frames(); ++i) {
        for (unsigned channel = 0; channel < image->channels; ++channel)
            sum += image->Sample(i, channel);
    }
    if (!(sum == sum))
        __builtin_trap();
    return 0;
}
