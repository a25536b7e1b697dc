// The nine sounds the program plays, read whole into memory once at start-up.
#pragma once

#include <cstddef>
#include <memory>

// An owning slot for one whole RIFF WAVE image. It holds either a complete, well-formed image or
// nothing; playing an empty slot is silent.
class SampleSlot {
  public:
    SampleSlot() = default;
    ~SampleSlot();
    SampleSlot(const SampleSlot&) = delete;
    SampleSlot& operator=(const SampleSlot&) = delete;

    const char* get() const { return data_.get(); }
    std::size_t size() const { return size_; }
    explicit operator bool() const { return data_ != nullptr; }

    // Takes the new image, then frees the one held before.
    void reset(std::unique_ptr<char[]> data = nullptr, std::size_t size = 0);

  private:
    std::unique_ptr<char[]> data_;
    std::size_t size_ = 0;
};

// In the order they are declared and loaded.
extern SampleSlot g_p440Hz;
extern SampleSlot g_pHat1;
extern SampleSlot g_pHat2;
extern SampleSlot g_pMetronome1;
extern SampleSlot g_pMetronome2;
extern SampleSlot g_pRim1;
extern SampleSlot g_pRim2;
extern SampleSlot g_pClick1;
extern SampleSlot g_pClick2;

// Reads one file whole into one slot. `path` is relative to the current directory and written with
// a backslash ("sounds\Hat1.wav"). A file that is missing, unreadable, short or not a PCM WAVE
// image leaves the slot empty, and a warning naming the file goes to stderr.
void LoadSample(const char* path, SampleSlot& slot);
// Loads all nine slots in their order.
void LoadSampleStore();
// Empties all nine slots, as the process starts.
void ClearSampleStore();

// The accent (first beat of a measure) and the regular beat of each sound kind, by radio index.
struct ClickSamples {
    const SampleSlot* accent;
    const SampleSlot* regular;
};
inline constexpr int kSoundKinds = 4;
extern const ClickSamples kClickSamples[kSoundKinds];
