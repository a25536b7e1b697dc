// Loading the samples. Every image is checked once here, so the players can trust its sizes.
#include "audio/sample_store.h"

#include <cstdio>

#include "platform/file.h"
#include "platform/native_path.h"
#include "platform/sound_images.h"
#include "platform/wave_image.h"

SampleSlot g_p440Hz;
SampleSlot g_pHat1;
SampleSlot g_pHat2;
SampleSlot g_pMetronome1;
SampleSlot g_pMetronome2;
SampleSlot g_pRim1;
SampleSlot g_pRim2;
SampleSlot g_pClick1;
SampleSlot g_pClick2;

// Template order of the sound radios: Metronome, Digital, Closed Hi-Hat, Rim.
const ClickSamples kClickSamples[kSoundKinds] = {
    {&g_pMetronome1, &g_pMetronome2},
    {&g_pClick1, &g_pClick2},
    {&g_pHat1, &g_pHat2},
    {&g_pRim1, &g_pRim2},
};

namespace {
// No click or tone needs more; a larger file is not one of ours.
constexpr std::uint64_t kMaxSampleBytes = 16u * 1024 * 1024;

// The file is named as the platform writes paths, so that it can be pasted into a shell.
void Warn(const char* path, const char* why) {
    std::fprintf(stderr, "metronome: %s: %s; this sound stays silent\n",
                 platform::NativePath(path).c_str(), why);
}
}  // namespace

SampleSlot::~SampleSlot() {
    platform::UnregisterSoundImage(data_.get());
}

void SampleSlot::reset(std::unique_ptr<char[]> data, std::size_t size) {
    std::unique_ptr<char[]> old = std::move(data_);
    data_ = std::move(data);
    size_ = data_ ? size : 0;
    if (data_)
        platform::RegisterSoundImage(data_.get(), size_);
    platform::UnregisterSoundImage(old.get());
}

void LoadSample(const char* path, SampleSlot& slot) {
    // Only a plain file is read, and the open never waits: a pipe or a device in a sound's place
    // leaves that sound silent rather than keeping the window from appearing.
    CFile file;
    if (!file.Open(CString::FromUtf8(platform::NativePath(path)),
                   CFile::modeRead | CFile::typeBinary)) {
        Warn(path, "cannot be opened as a file");
        return slot.reset();
    }
    try {
        const std::uint64_t size = file.GetLength();
        if (size > kMaxSampleBytes) {
            Warn(path, "is too large");
            return slot.reset();
        }
        auto data = std::make_unique<char[]>(static_cast<std::size_t>(size));
        const std::size_t got = file.Read(data.get(), static_cast<std::size_t>(size));
        file.Close();
        if (got != size) {
            Warn(path, "is shorter than its size");
            return slot.reset();
        }
        if (!platform::ParseWaveImage(data.get(), got)) {
            Warn(path, "is not a PCM WAVE file");
            return slot.reset();
        }
        slot.reset(std::move(data), got);
    } catch (const CFileException&) {
        Warn(path, "cannot be read");
        slot.reset();
    }
}

void ClearSampleStore() {
    for (SampleSlot* slot : {&g_p440Hz, &g_pHat1, &g_pHat2, &g_pMetronome1, &g_pMetronome2,
                             &g_pRim1, &g_pRim2, &g_pClick1, &g_pClick2})
        slot->reset();
}

void LoadSampleStore() {
    LoadSample("sounds\\440Hz.wav", g_p440Hz);
    LoadSample("sounds\\Hat1.wav", g_pHat1);
    LoadSample("sounds\\Hat2.wav", g_pHat2);
    LoadSample("sounds\\Metronome1.wav", g_pMetronome1);
    LoadSample("sounds\\Metronome2.wav", g_pMetronome2);
    LoadSample("sounds\\Rim1.wav", g_pRim1);
    LoadSample("sounds\\Rim2.wav", g_pRim2);
    LoadSample("sounds\\Click1.wav", g_pClick1);
    LoadSample("sounds\\Click2.wav", g_pClick2);
}
